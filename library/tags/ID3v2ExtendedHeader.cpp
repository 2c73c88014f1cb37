#include "library/tags/ID3v2ExtendedHeader.h"

#include "foundation/ByteOrder.h"

#include <algorithm>

namespace {

constexpr uint32_t kSizeLength = 4;

// ID3v2.3: size (without itself), two flag bytes, padding size, then the CRC when flagged.
constexpr uint64_t kV23FlagsAt = 4;
constexpr uint8_t kV23CrcFlag = 0x80;
constexpr uint64_t kV23PaddingSizeAt = 6;
constexpr uint64_t kV23CrcAt = 10;
constexpr uint32_t kV23FieldLength = 4;

// ID3v2.4: synchsafe size (with itself), the count of flag bytes, the flags, then for each flag set,
// in the order of the bits, a length byte and its data. The CRC is 35 bits, 7 to a byte.
constexpr uint64_t kV24FlagCountAt = 4;
constexpr uint64_t kV24FlagsAt = 5;
constexpr uint8_t kV24FlagsWithData[] = {0x40, 0x20, 0x10}; // update, CRC, restrictions
constexpr uint8_t kV24CrcFlag = 0x20;
constexpr uint32_t kV24CrcLength = 5;

void StoreSynchsafe35(uint8_t* bytes, uint32_t value) {
    for (uint32_t i = 0; i < kV24CrcLength; ++i)
        bytes[i] = static_cast<uint8_t>((uint64_t(value) >> (7 * (kV24CrcLength - 1 - i))) & 0x7F);
}

} // namespace

ID3v2ExtendedHeader::ID3v2ExtendedHeader(const ID3v2Header& header, std::span<const uint8_t> body)
    : m_version(header.version) {
    if (m_version < 3 || !header.Has(ID3v2Header::kExtendedHeader))
        return;
    // The header holds at least its size field, also where a broken body ends before it.
    m_length = kSizeLength;
    if (body.size() < kSizeLength)
        return;
    // ID3v2.3 counts the extended header without its size field, ID3v2.4 with it (and synchsafe).
    m_length = std::max<uint64_t>(m_length, m_version == 3 ? uint64_t(LoadBE32(body.data())) + kSizeLength
                                                           : ID3v2Header::ReadSynchsafe32(body.data()));
    m_bytes = body.first(std::min<uint64_t>(m_length, body.size()));
    if (m_version == 3)
        FindV23Fields();
    else
        FindV24Fields();
}

void ID3v2ExtendedHeader::FindV23Fields() {
    if (m_bytes.size() >= kV23PaddingSizeAt + kV23FieldLength)
        m_paddingSizeAt = kV23PaddingSizeAt;
    if (m_bytes.size() >= kV23CrcAt + kV23FieldLength && (m_bytes[kV23FlagsAt] & kV23CrcFlag))
        m_crcAt = kV23CrcAt;
}

void ID3v2ExtendedHeader::FindV24Fields() {
    if (m_bytes.size() <= kV24FlagsAt)
        return;
    const uint8_t flags = m_bytes[kV24FlagsAt];
    uint64_t at = kV24FlagCountAt + 1 + m_bytes[kV24FlagCountAt];
    for (const uint8_t flag : kV24FlagsWithData) {
        if (!(flags & flag))
            continue;
        if (at >= m_bytes.size())
            return;
        const uint8_t length = m_bytes[at];
        if (flag == kV24CrcFlag && length == kV24CrcLength && at + 1 + length <= m_bytes.size())
            m_crcAt = at + 1;
        at += 1 + length;
    }
}

std::vector<uint8_t> ID3v2ExtendedHeader::Rewritten(uint32_t framesCrc) const {
    std::vector<uint8_t> bytes(m_bytes.begin(), m_bytes.end());
    if (m_paddingSizeAt != 0)
        StoreBE32(bytes.data() + m_paddingSizeAt, 0);
    if (!HasCrc())
        return bytes;
    if (m_version == 3)
        StoreBE32(bytes.data() + m_crcAt, framesCrc);
    else
        StoreSynchsafe35(bytes.data() + m_crcAt, framesCrc);
    return bytes;
}
