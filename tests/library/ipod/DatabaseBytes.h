#pragma once
// Builds iPod database bytes chunk by chunk, independently of the reader and writer under test, so that
// tests can state exactly which bytes a database holds.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace dbbytes {

using Bytes = std::vector<uint8_t>;
using Fields = std::initializer_list<std::pair<uint32_t, uint32_t>>;

Bytes Concat(std::initializer_list<Bytes> parts);
Bytes Concat(const std::vector<Bytes>& parts);
void Put32(Bytes& bytes, uint32_t offset, uint32_t value);
uint32_t Get32(const Bytes& bytes, uint32_t offset);

// Tag, header length, total length (or, without one, the u32 at offset 8 from `fields`), the given u32
// fields, zeros elsewhere in the header, then the children.
Bytes Chunk(const char* tag, uint32_t headerLength, Fields fields, const Bytes& children,
            bool withTotal = true);

Bytes Text(uint32_t type, const std::u16string& text, uint32_t headerLength = 24);
Bytes Opaque(uint32_t type, const Bytes& body);
// The position object of a playlist item: its place in its playlist (from 0), then 16 zero bytes.
Bytes Position(uint32_t position);

struct TrackFields {
    uint32_t id = 0;
    std::u16string title;
    std::u16string artist;
    std::u16string album;
    std::u16string genre;
    std::u16string location; // ":iPod_Control:Music:F00:A.mp3"
    uint32_t fileSize = 0;
    uint32_t headerLength = 244;
};
Bytes Track(const TrackFields& fields);

Bytes Item(uint32_t trackId, uint32_t group, uint32_t position, uint32_t headerLength = 76);
Bytes PlayList(const std::u16string& name, bool master, const std::vector<Bytes>& items);
Bytes PlayListList(const std::vector<Bytes>& playLists);
Bytes TrackList(const std::vector<Bytes>& tracks);
Bytes DataSet(uint32_t type, const Bytes& body);
Bytes Database(uint32_t version, const std::vector<Bytes>& dataSets, uint32_t headerLength = 104);

} // namespace dbbytes
