#pragma once
// Song files for the stand-in's tests: small text files that name their own tags, and the tag reader
// that reads them. A file without the marker line is no song.

#include "platform/itunes/TagReader.h"

#include <string>
#include <vector>

struct FakeSong {
    std::string name;
    std::string artist;
    std::string album;
    std::string genre;
    std::string composer;
    std::string comment;
    uint32_t trackNumber = 0;
    uint32_t year = 0;
    uint32_t bitRate = 0;
    uint32_t totalTimeMs = 0;
    std::vector<std::string> pictures;
};

void WriteFakeSong(const std::string& path, const FakeSong& song);

class FakeTagReader : public itunesapp::TagReader {
public:
    bool ReadTags(const std::string& path, itunesapp::SongFields& fields) override;
    std::vector<std::vector<uint8_t>> ReadArtwork(const std::string& path) override;

    int reads = 0;
};
