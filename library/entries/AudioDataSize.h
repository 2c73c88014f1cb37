#pragma once
// The size of a song file's audio data: the file without its tags. Two copies of a song with other tags
// share it, so songs without names can still be told apart and matched by it.

#include "foundation/AString.h"

#include <cstdint>

class ID3;

// 0 when the tags do not say where the audio ends.
uint64_t AudioDataSize(const ID3& tags);
// Reads the file's tags for it; 0 when they cannot be read.
uint64_t AudioDataSizeOf(const AString& path);
