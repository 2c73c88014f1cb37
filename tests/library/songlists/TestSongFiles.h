#pragma once
// Small song files built by the tests: mp3 files with an ID3v2.3 tag, a few MPEG audio frames and an
// optional ID3v1 block, and MP4 files with "ilst" items.

#include <cstdint>
#include <string>
#include <vector>

struct TestSongTags {
    std::string title;
    std::string artist;
    std::string album;
    std::string genre;
    std::string track;    // "5" or "5/12"
    std::string disc;     // "1/2"
    std::string account;  // MP4 only: the purchasing account
    std::string tvShow;   // MP4 only
    int mediaKind = -1;   // MP4 only: 9 movie, 10 TV show; -1 none
    bool podcast = false; // MP4 only
    int audioFrames = 4;
};

// The tags most tests set; the others keep their defaults.
TestSongTags SongTags(const char* genre, const char* artist, const char* album, const char* title,
                      const char* track = "");
std::vector<uint8_t> MakeMp3(const TestSongTags& tags);
// An mp3 without any tag: audio frames only.
std::vector<uint8_t> MakeUntaggedMp3(int audioFrames);
std::vector<uint8_t> MakeMp4(const TestSongTags& tags, int audioBytes);
// Writes the file, creating its folders.
void WriteSongFile(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteTextFile(const std::string& path, const std::string& text);
