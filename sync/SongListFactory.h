#pragma once
// Makes the song list of a type id for the song and playlist syncs, when a sync is made for two types or
// read back from a sync-set file. The lists of the library layer are built in; a list that lives in a
// layer above the sync engine (another computer's library) is registered by that layer at start-up.

#include <cstdint>
#include <functional>
#include <memory>

class ADir;
class AProgress;

class SongListFactory {
public:
    using Maker = std::function<std::unique_ptr<ADir>(AProgress* progress)>;

    // The types a song sync's sides may have, and a playlist sync's.
    static bool IsSongListType(uint32_t type);
    static bool IsPlayListType(uint32_t type);
    // Null for a type of neither table, or one whose list nobody has registered. Thread-safe.
    static std::unique_ptr<ADir> Make(uint32_t type, AProgress* progress);
    // For the whole process; a null maker takes the registration back.
    static void Register(uint32_t type, Maker maker);
};
