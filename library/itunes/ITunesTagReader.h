#pragma once
// How the music application's stand-in reads song files: through our own tag reader. Handed to the
// stand-in at start-up.

#include "platform/itunes/TagReader.h"

class ITunesTagReader : public itunesapp::TagReader {
public:
    bool ReadTags(const std::string& path, itunesapp::SongFields& fields) override;
    std::vector<std::vector<uint8_t>> ReadArtwork(const std::string& path) override;
};
