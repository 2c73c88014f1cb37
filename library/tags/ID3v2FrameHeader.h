#pragma once
// The header in front of each ID3v2 frame: ID3v2.2 has a 3-character id and a 24-bit size; ID3v2.3 a
// 4-character id, a 32-bit size and two flag bytes; ID3v2.4 the same with the size synchsafe. The
// reader and the writer of tags both parse and render frame headers here only.

#include <cstdint>
#include <optional>
#include <vector>

class ID3v2FrameHeader {
public:
    static constexpr uint32_t kLengthV22 = 6;
    static constexpr uint32_t kLengthV23 = 10;

    // The second flag byte, of ID3v2.3 and ID3v2.4 frames.
    enum FormatFlag : uint8_t {
        kV23Compression = 0x80,
        kV23Encryption = 0x40,
        kV24Compression = 0x08,
        kV24Encryption = 0x04,
        kV24Unsynchronised = 0x02,
        kV24DataLengthIndicator = 0x01,
    };
    // How the size bytes are read: ID3v2.4 tags were written both ways.
    enum class SizeForm { Plain, Synchsafe };

    ID3v2FrameHeader() = default;
    ID3v2FrameHeader(const char* id, uint32_t size, uint8_t formatFlags = 0);

    static uint32_t Length(int version) { return version == 2 ? kLengthV22 : kLengthV23; }
    static uint32_t IdLength(int version) { return version == 2 ? 3 : 4; }
    // The largest frame content the version's size field holds.
    static uint64_t MaxSize(int version);
    // The form the version writes.
    static SizeForm WrittenForm(int version) { return version == 4 ? SizeForm::Synchsafe : SizeForm::Plain; }

    // Reads Length(version) bytes; nothing when the size is to be synchsafe and its bytes are not.
    static std::optional<ID3v2FrameHeader> Parse(const uint8_t* bytes, int version, SizeForm form);
    // The header's bytes in the version's written form; the size must not exceed MaxSize(version).
    std::vector<uint8_t> Render(int version) const;

    const char* Id() const { return m_id; }
    bool Is(const char* frameId) const;
    uint32_t Size() const { return m_size; }
    uint8_t FormatFlags() const { return m_formatFlags; }
    bool Has(FormatFlag flag) const { return (m_formatFlags & flag) != 0; }

private:
    char m_id[5] = {}; // 3 or 4 characters and a zero
    uint32_t m_size = 0;
    uint8_t m_formatFlags = 0;
};
