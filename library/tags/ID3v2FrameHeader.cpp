#include "library/tags/ID3v2FrameHeader.h"

#include "foundation/ByteOrder.h"
#include "library/tags/ID3v2Header.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kSizeAt = 4; // ID3v2.3 and ID3v2.4; ID3v2.2 has its size at 3
constexpr uint32_t kSizeAtV22 = 3;
constexpr uint32_t kFormatFlagsAt = 9;
constexpr uint64_t kMaxSizeV22 = 0xFFFFFF;
constexpr uint64_t kMaxSizeV23 = 0xFFFFFFFF;

} // namespace

ID3v2FrameHeader::ID3v2FrameHeader(const char* id, uint32_t size, uint8_t formatFlags)
    : m_size(size), m_formatFlags(formatFlags) {
    std::memcpy(m_id, id, std::min(std::strlen(id), sizeof m_id - 1));
}

uint64_t ID3v2FrameHeader::MaxSize(int version) {
    if (version == 2)
        return kMaxSizeV22;
    return version == 3 ? kMaxSizeV23 : ID3v2Header::kMaxSynchsafe;
}

bool ID3v2FrameHeader::Is(const char* frameId) const {
    return std::strcmp(m_id, frameId) == 0;
}

std::optional<ID3v2FrameHeader> ID3v2FrameHeader::Parse(const uint8_t* bytes, int version, SizeForm form) {
    ID3v2FrameHeader header;
    std::memcpy(header.m_id, bytes, IdLength(version));
    if (version == 2) {
        header.m_size = LoadBE24(bytes + kSizeAtV22);
        return header;
    }
    header.m_formatFlags = bytes[kFormatFlagsAt];
    if (form == SizeForm::Plain) {
        header.m_size = LoadBE32(bytes + kSizeAt);
        return header;
    }
    if (!ID3v2Header::IsSynchsafe(bytes + kSizeAt))
        return std::nullopt;
    header.m_size = ID3v2Header::ReadSynchsafe32(bytes + kSizeAt);
    return header;
}

std::vector<uint8_t> ID3v2FrameHeader::Render(int version) const {
    std::vector<uint8_t> bytes(Length(version));
    std::memcpy(bytes.data(), m_id, IdLength(version));
    if (version == 2) {
        StoreBE24(bytes.data() + kSizeAtV22, m_size);
        return bytes;
    }
    if (WrittenForm(version) == SizeForm::Synchsafe)
        ID3v2Header::WriteSynchsafe32(bytes.data() + kSizeAt, m_size);
    else
        StoreBE32(bytes.data() + kSizeAt, m_size);
    bytes[kFormatFlagsAt] = m_formatFlags;
    return bytes;
}
