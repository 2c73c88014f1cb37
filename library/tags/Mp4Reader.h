#pragma once
// Reads the metadata items of an MP4 file (the "ilst" list below moov/udta/meta) and where its media
// data lies. Only atom headers and the values of the items used are read.

#include <cstdint>
#include <vector>

class AFile;
class AString;
struct SongFields;
struct Mp4Atom;

class Mp4Reader {
public:
    // 0 with only the file facts when the file is no MP4 or has no item list.
    static int ReadMP4(SongFields& tags, AFile& stream, uint64_t fileLength);

private:
    Mp4Reader(SongFields& tags, AFile& stream, uint64_t fileLength)
        : m_tags(tags), m_stream(stream), m_fileLength(fileLength) {}

    int FindAtom(uint64_t from, const char* type, Mp4Atom& atom, bool& found);
    int WalkItems(uint64_t from);
    int HandleItem(const Mp4Atom& item);
    // 0 with `hasValue` set when the item holds a value of a type read as text.
    int ReadDataAtom(const Mp4Atom& item, AString& text, bool& hasValue);
    int ReadCoverArt(const Mp4Atom& item);

    SongFields& m_tags;
    AFile& m_stream;
    uint64_t m_fileLength;
    std::vector<uint8_t> m_itemBody; // one buffer for the bodies of all items
};
