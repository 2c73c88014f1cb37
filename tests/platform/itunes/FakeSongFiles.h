#pragma once
// Song files for the stand-in's tests: small text files that name their own tags, and the tag reader
// that reads them. A file without the marker line is no song.

#include "platform/itunes/TagReader.h"

#include <string>
#include <vector>

struct FakeSong {
    itunesapp::SongFields fields;
    std::vector<std::string> pictures;
};

void WriteFakeSong(const std::string& path, const FakeSong& song);

class FakeTagReader : public itunesapp::TagReader {
public:
    bool ReadTags(const std::string& path, itunesapp::SongFields& fields) override;
    std::vector<std::vector<uint8_t>> ReadArtwork(const std::string& path) override;

    int reads = 0;
};
