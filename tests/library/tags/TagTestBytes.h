#pragma once
// Builders for the bytes of song files in tests: ID3v2 tags and frames, ID3v1 blocks, MPEG frame
// headers, MP4 atoms and AIFF chunks.

#include "foundation/AString.h"

#include <cstdint>
#include <string>
#include <vector>

class ID3;

namespace tagtest {

using Bytes = std::vector<uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts);
Bytes Text(const std::string& text); // the characters, no terminator
Bytes BE32(uint32_t value);
Bytes BE64(uint64_t value);
Bytes Synchsafe(uint32_t value);
Bytes Utf16LE(const std::u16string& text);

// A frame with a plain size (ID3v2.2: 24-bit, ID3v2.3: 32-bit) or, with `synchsafe`, an ID3v2.4 size.
Bytes Frame(int version, const std::string& id, const Bytes& body, bool synchsafe = true,
            uint8_t formatFlags = 0);
// A text frame with encoding 0 (Latin-1 bytes of `text`).
Bytes TextFrame(int version, const std::string& id, const std::string& text);
Bytes Tag(int version, const Bytes& body, uint8_t flags = 0);
Bytes ID3v1(const std::string& title, const std::string& artist, const std::string& album,
            const std::string& year, const std::string& comment, int track, uint8_t genre);

Bytes MpegHeader(uint8_t b1, uint8_t b2, uint8_t b3);
// An unprotected MPEG-1 Layer III frame at 44100 Hz, zero-filled to `length` bytes.
Bytes Mpeg1Layer3Frame(int bitRateIndex, bool mono, size_t length);

// An ADTS frame of `length` bytes, its header included, at the sample rate of table index `rateIndex`,
// with `blocks` raw data blocks of 1024 samples; a protected frame carries a CRC after its header.
Bytes AdtsFrame(int rateIndex, size_t length, int blocks = 1, bool protectedByCrc = false);

Bytes Atom(const std::string& type, const Bytes& body);
Bytes LargeAtom(const std::string& type, const Bytes& body);
Bytes DataItem(const std::string& type, uint32_t dataType, const Bytes& value);
// ftyp, then moov/udta/meta/ilst around `items`, then `after`.
Bytes Mp4File(const Bytes& items, const Bytes& after = {});

Bytes Chunk(const std::string& id, const Bytes& body); // AIFF chunk, no pad byte

// Writes the bytes into a file of the folder and reads its tags.
int ReadBytesAs(const std::string& path, const Bytes& bytes, ID3& tags);
AString TextOf(void (ID3::*getter)(AString&) const, const ID3& tags);

} // namespace tagtest
