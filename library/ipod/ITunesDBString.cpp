#include "library/ipod/ITunesDBString.h"

#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDBChunkFrame.h"
#include "library/ipod/ITunesDBInput.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kTag[] = "mhod";
constexpr ITunesDBChunkCodes kCodes{kErrorNotString, kErrorNotString, kErrorStringNoMemory};
constexpr uint32_t kTotalLengthOffset = ITunesDBChunkFrame::kTotalLengthOffset;
// Offsets inside the string header that opens the body of a text type.
constexpr uint32_t kEncodingOffset = 0;
constexpr uint32_t kByteLengthOffset = 4;
constexpr uint32_t kUtf16Encoding = 1;

// A header of `headerLength` bytes (the given one's, or a new one) and a zero body of `bodyLength`.
ITunesDBBytes NewChunk(std::span<const uint8_t> oldHeader, uint32_t headerLength, uint32_t bodyLength) {
    ITunesDBBytes bytes = ITunesDBBytes::Zeros(headerLength + bodyLength);
    std::span<uint8_t> out = bytes.Mutable();
    if (out.size() != headerLength + bodyLength)
        return ITunesDBBytes();
    if (oldHeader.empty()) {
        std::memcpy(out.data(), kTag, 4);
        StoreLE32(out.data() + ITunesDBChunkFrame::kHeaderLengthOffset, headerLength);
    } else {
        std::copy(oldHeader.begin(), oldHeader.begin() + headerLength, out.begin());
    }
    StoreLE32(out.data() + kTotalLengthOffset, headerLength + bodyLength);
    return bytes;
}

} // namespace

ITunesDBString ITunesDBString::NewPosition() {
    ITunesDBString position;
    position.m_bytes = NewChunk({}, kHeaderLength, kPositionBodyLength);
    position.m_bytes.Set32(kTypeOffset, kPosition);
    return position;
}

bool ITunesDBString::IsTextType(uint32_t type) {
    return (type >= kTitle && type <= kGenre) || type == kComment || type == kComposer || type == 13;
}

uint32_t ITunesDBString::GetHeaderLength() const {
    return m_bytes.empty() ? kHeaderLength : m_bytes.Get32(ITunesDBChunkFrame::kHeaderLengthOffset);
}

int ITunesDBString::Read(ITunesDBInput& input, uint64_t parentEnd) {
    ITunesDBChunkExtent extent;
    if (const int result =
            ITunesDBChunkFrame::CheckChunk(input, parentEnd, kTag, kHeaderLength, true, kCodes, extent))
        return result;
    return input.Take(static_cast<uint32_t>(extent.end - extent.start), m_bytes, kErrorStringNoMemory);
}

AString ITunesDBString::GetText() const {
    const std::span<const uint8_t> bytes = m_bytes.Get();
    const uint64_t textStart = uint64_t{GetHeaderLength()} + kStringHeaderLength;
    // A body too short for the string header holds no text.
    if (!IsTextType(GetType()) || textStart > bytes.size())
        return AString();
    return AString::FromUtf16LE(bytes.data() + textStart, bytes.size() - textStart);
}

bool ITunesDBString::SetText(const AString& text, uint32_t type) {
    const std::u16string& characters = text.GetCString();
    const uint32_t byteLength = 2 * static_cast<uint32_t>(characters.size());
    const uint32_t headerLength = GetHeaderLength();
    const std::span<const uint8_t> oldHeader =
        m_bytes.empty() ? m_bytes.Get() : m_bytes.Get().first(headerLength);
    ITunesDBBytes bytes = NewChunk(oldHeader, headerLength, kStringHeaderLength + byteLength);
    std::span<uint8_t> out = bytes.Mutable();
    if (out.empty())
        return false;
    if (type != 0)
        StoreLE32(out.data() + kTypeOffset, type);
    uint8_t* body = out.data() + headerLength;
    StoreLE32(body + kEncodingOffset, kUtf16Encoding);
    StoreLE32(body + kByteLengthOffset, byteLength);
    uint8_t* character = body + kStringHeaderLength;
    for (const char16_t c : characters) {
        StoreLE16(character, c);
        character += 2;
    }
    m_bytes = std::move(bytes);
    return true;
}

void ITunesDBString::SetListText(ITunesDBStrings& strings, const AString& text, uint32_t type) {
    for (ITunesDBString& string : strings) {
        if (string.GetType() == type) {
            string.SetText(text, type);
            return;
        }
    }
    ITunesDBString string;
    if (string.SetText(text, type))
        strings.push_back(std::move(string));
}

int ITunesDBString::ReadList(ITunesDBInput& input, uint32_t count, uint64_t parentEnd,
                             ITunesDBStrings& strings) {
    strings.clear();
    // No more objects than the parent has room for.
    const uint64_t room = parentEnd > input.GetPosition() ? parentEnd - input.GetPosition() : 0;
    strings.reserve(std::min<uint64_t>(count, room / kHeaderLength));
    for (uint32_t i = 0; i < count; ++i) {
        ITunesDBString string;
        if (const int result = string.Read(input, parentEnd))
            return result;
        strings.push_back(std::move(string));
    }
    return 0;
}

int ITunesDBString::WriteList(AFile& stream, const ITunesDBStrings& strings) {
    for (const ITunesDBString& string : strings) {
        if (const int result = string.Write(stream))
            return result;
    }
    return 0;
}

uint64_t ITunesDBString::ListLength(const ITunesDBStrings& strings) {
    uint64_t total = 0;
    for (const ITunesDBString& string : strings)
        total += string.GetTotalLength();
    return total;
}
