#include "DatabaseBytes.h"

#include <cstring>

namespace dbbytes {

Bytes Concat(std::initializer_list<Bytes> parts) {
    return Concat(std::vector<Bytes>(parts));
}

Bytes Concat(const std::vector<Bytes>& parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

void Put32(Bytes& bytes, uint32_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t Get32(const Bytes& bytes, uint32_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes.at(offset + i);
    return value;
}

Bytes Chunk(const char* tag, uint32_t headerLength, Fields fields, const Bytes& children, bool withTotal) {
    Bytes chunk(headerLength, 0);
    std::memcpy(chunk.data(), tag, 4);
    Put32(chunk, 4, headerLength);
    if (withTotal)
        Put32(chunk, 8, headerLength + static_cast<uint32_t>(children.size()));
    for (const auto& [offset, value] : fields)
        Put32(chunk, offset, value);
    chunk.insert(chunk.end(), children.begin(), children.end());
    return chunk;
}

Bytes Text(uint32_t type, const std::u16string& text, uint32_t headerLength) {
    Bytes body(16, 0);
    Put32(body, 0, 1);
    Put32(body, 4, static_cast<uint32_t>(2 * text.size()));
    for (char16_t c : text) {
        body.push_back(static_cast<uint8_t>(c));
        body.push_back(static_cast<uint8_t>(c >> 8));
    }
    return Chunk("mhod", headerLength, {{12, type}}, body);
}

Bytes Opaque(uint32_t type, const Bytes& body) {
    return Chunk("mhod", 24, {{12, type}}, body);
}

Bytes Position(uint32_t position) {
    Bytes body(20, 0);
    Put32(body, 0, position);
    return Opaque(100, body);
}

Bytes Track(const TrackFields& f) {
    std::vector<Bytes> strings;
    if (!f.title.empty())
        strings.push_back(Text(1, f.title));
    if (!f.location.empty())
        strings.push_back(Text(2, f.location));
    if (!f.album.empty())
        strings.push_back(Text(3, f.album));
    if (!f.artist.empty())
        strings.push_back(Text(4, f.artist));
    if (!f.genre.empty())
        strings.push_back(Text(5, f.genre));
    return Chunk("mhit", f.headerLength,
                 {{12, static_cast<uint32_t>(strings.size())}, {16, f.id}, {20, 1}, {36, f.fileSize}},
                 Concat(strings));
}

Bytes Item(uint32_t trackId, uint32_t group, uint32_t position, uint32_t headerLength) {
    return Chunk("mhip", headerLength, {{12, 1}, {20, group}, {24, trackId}}, Position(position));
}

Bytes PlayList(const std::u16string& name, bool master, const std::vector<Bytes>& items) {
    return Chunk("mhyp", 108, {{12, 1}, {16, static_cast<uint32_t>(items.size())}, {20, master ? 1u : 0u}},
                 Concat({Text(1, name), Concat(items)}));
}

Bytes PlayListList(const std::vector<Bytes>& playLists) {
    return Chunk("mhlp", 92, {{8, static_cast<uint32_t>(playLists.size())}}, Concat(playLists), false);
}

Bytes TrackList(const std::vector<Bytes>& tracks) {
    return Chunk("mhlt", 92, {{8, static_cast<uint32_t>(tracks.size())}}, Concat(tracks), false);
}

Bytes DataSet(uint32_t type, const Bytes& body) {
    return Chunk("mhsd", 96, {{12, type}}, body);
}

Bytes Database(uint32_t version, const std::vector<Bytes>& dataSets, uint32_t headerLength) {
    return Chunk("mhbd", headerLength, {{12, 1}, {16, version}, {20, static_cast<uint32_t>(dataSets.size())}},
                 Concat(dataSets));
}

} // namespace dbbytes
