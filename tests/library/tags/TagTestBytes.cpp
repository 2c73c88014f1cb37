#include "TagTestBytes.h"

#include "library/tags/ID3.h"
#include "support/TempDir.h"

namespace tagtest {

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes BE32(uint32_t value) {
    return {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
}

Bytes BE64(uint64_t value) {
    return Concat({BE32(uint32_t(value >> 32)), BE32(uint32_t(value))});
}

Bytes Synchsafe(uint32_t value) {
    return {uint8_t((value >> 21) & 0x7F), uint8_t((value >> 14) & 0x7F), uint8_t((value >> 7) & 0x7F),
            uint8_t(value & 0x7F)};
}

Bytes Utf16LE(const std::u16string& text) {
    Bytes bytes;
    for (const char16_t c : text) {
        bytes.push_back(uint8_t(c));
        bytes.push_back(uint8_t(c >> 8));
    }
    return bytes;
}

Bytes Frame(int version, const std::string& id, const Bytes& body, bool synchsafe, uint8_t formatFlags) {
    const uint32_t size = static_cast<uint32_t>(body.size());
    if (version == 2)
        return Concat({Text(id), {uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size)}, body});
    const Bytes sizeBytes = version == 4 && synchsafe ? Synchsafe(size) : BE32(size);
    return Concat({Text(id), sizeBytes, {0, formatFlags}, body});
}

Bytes TextFrame(int version, const std::string& id, const std::string& text) {
    return Frame(version, id, Concat({{0}, Text(text)}));
}

Bytes Tag(int version, const Bytes& body, uint8_t flags) {
    return Concat({Text("ID3"), {uint8_t(version), 0, flags}, Synchsafe(uint32_t(body.size())), body});
}

Bytes ID3v1(const std::string& title, const std::string& artist, const std::string& album,
            const std::string& year, const std::string& comment, int track, uint8_t genre) {
    Bytes block(128, 0);
    auto put = [&](size_t at, const std::string& text, size_t length) {
        for (size_t i = 0; i < text.size() && i < length; ++i)
            block[at + i] = uint8_t(text[i]);
    };
    put(0, "TAG", 3);
    put(3, title, 30);
    put(33, artist, 30);
    put(63, album, 30);
    put(93, year, 4);
    put(97, comment, 30);
    if (track >= 0) {
        block[125] = 0;
        block[126] = uint8_t(track);
    }
    block[127] = genre;
    return block;
}

Bytes MpegHeader(uint8_t b1, uint8_t b2, uint8_t b3) {
    return {0xFF, b1, b2, b3};
}

Bytes Mpeg1Layer3Frame(int bitRateIndex, bool mono, size_t length) {
    Bytes frame = MpegHeader(0xFB, uint8_t(bitRateIndex << 4), mono ? 0xC0 : 0x00);
    frame.resize(length, 0);
    return frame;
}

Bytes Atom(const std::string& type, const Bytes& body) {
    return Concat({BE32(uint32_t(body.size() + 8)), Text(type), body});
}

Bytes LargeAtom(const std::string& type, const Bytes& body) {
    return Concat({BE32(1), Text(type), BE64(body.size() + 16), body});
}

Bytes DataItem(const std::string& type, uint32_t dataType, const Bytes& value) {
    return Atom(type, Atom("data", Concat({BE32(dataType), BE32(0), value})));
}

Bytes Mp4File(const Bytes& items, const Bytes& after) {
    const Bytes meta = Atom("meta", Concat({BE32(0), Atom("hdlr", Bytes(25, 0)), Atom("ilst", items)}));
    return Concat({Atom("ftyp", Concat({Text("M4A "), BE32(0)})),
                   Atom("moov", Concat({Atom("mvhd", Bytes(100, 0)), Atom("udta", meta)})), after});
}

Bytes Chunk(const std::string& id, const Bytes& body) {
    return Concat({Text(id), BE32(uint32_t(body.size())), body});
}

Bytes AdtsFrame(int rateIndex, size_t length, int blocks, bool protectedByCrc) {
    constexpr uint8_t kProfileLC = 1;
    constexpr uint8_t kMono = 1;
    Bytes frame(length, 0);
    frame[0] = 0xFF;
    frame[1] = protectedByCrc ? 0xF0 : 0xF1;
    frame[2] = static_cast<uint8_t>(kProfileLC << 6 | rateIndex << 2);
    frame[3] = static_cast<uint8_t>(kMono << 6 | ((length >> 11) & 0x03));
    frame[4] = static_cast<uint8_t>(length >> 3);
    frame[5] = static_cast<uint8_t>((length & 0x07) << 5 | 0x1F);
    frame[6] = static_cast<uint8_t>(0xFC | (blocks - 1));
    return frame;
}

int ReadBytesAs(const std::string& path, const Bytes& bytes, ID3& tags) {
    WriteBytes(path, bytes);
    return tags.Read(AString(path));
}

AString TextOf(void (ID3::*getter)(AString&) const, const ID3& tags) {
    AString text;
    (tags.*getter)(text);
    return text;
}

} // namespace tagtest
