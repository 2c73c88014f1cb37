#pragma once
// What a song list tells the sync engine about a song before the engine copies it: the engine hands
// its own record (derived from this one) to ADir::AddFile, and the song lists that know the song write
// these two words; a list that knows nothing leaves them as the engine set them.

#include <cstdint>

struct AddFileSongInfo {
    uint32_t duration = 0; // seconds
    uint32_t bitRate = 0;  // kbit/s
};
