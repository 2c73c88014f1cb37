#pragma once
// How the stand-in reads song files. The library layer implements it over its own tag reader and hands
// it to the stand-in at start-up (ITunesInstance::Install); tests use a fake.

#include "platform/itunes/SongFields.h"

#include <cstdint>
#include <string>
#include <vector>

namespace itunesapp {

class TagReader {
public:
    virtual ~TagReader() = default;

    // Fills `fields` from the song file at `path` (native bytes); false when the file is no song that
    // can be read. Called on any thread, one call at a time.
    virtual bool ReadTags(const std::string& path, SongFields& fields) = 0;
    // The pictures stored in the song file, in file order; empty when there are none or the file cannot
    // be read. Called on any thread, one call at a time.
    virtual std::vector<std::vector<uint8_t>> ReadArtwork(const std::string& path) = 0;
};

} // namespace itunesapp
