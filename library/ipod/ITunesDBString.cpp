#include "library/ipod/ITunesDBString.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"


namespace {

constexpr char kTag[] = "mhod";
constexpr ITunesDBChunkCodes kCodes{kErrorNotString, kErrorNotString, kErrorStringNoMemory};
// Offsets inside the string header that opens the body of a text type.
constexpr uint32_t kEncodingOffset = 0;
constexpr uint32_t kByteLengthOffset = 4;
constexpr uint32_t kUtf16Encoding = 1;

} // namespace

ITunesDBString::ITunesDBString() {
    m_frame.Create(kTag, kHeaderLength, true);
}

std::unique_ptr<ITunesDBString> ITunesDBString::NewPosition() {
    auto position = std::make_unique<ITunesDBString>();
    position->m_frame.Set32(kTypeOffset, kPosition);
    position->m_body.assign(kPositionBodyLength, 0);
    return position;
}

bool ITunesDBString::IsTextType(uint32_t type) {
    return (type >= kTitle && type <= kGenre) || type == kComment || type == kComposer || type == 13;
}

int ITunesDBString::Read(AFile& stream, uint64_t parentEnd) {
    m_body.clear();
    m_text = AString();
    if (const int result = m_frame.ReadHeader(stream, parentEnd, kTag, kHeaderLength, true, kCodes))
        return result;
    if (const int result = recordio::ReadBytes(stream, m_frame.GetEnd() - stream.GetPosition(), m_body,
                                               kErrorStringNoMemory))
        return result;
    DecodeText();
    return 0;
}

void ITunesDBString::DecodeText() {
    // A body too short for the string header holds no text and stays as it is.
    if (!IsTextType(GetType()) || m_body.size() < kStringHeaderLength)
        return;
    m_text = AString::FromUtf16LE(m_body.data() + kStringHeaderLength, m_body.size() - kStringHeaderLength);
}

int ITunesDBString::Write(AFile& stream) {
    if (const int result = m_frame.WriteHeader(stream, GetTotalLength()))
        return result;
    return m_body.empty() ? 0 : stream.Write(m_body.data(), static_cast<uint32_t>(m_body.size()));
}

void ITunesDBString::SetText(const AString& text, uint32_t type) {
    if (type != 0)
        m_frame.Set32(kTypeOffset, type);
    const uint32_t byteLength = 2 * static_cast<uint32_t>(text.GetLength());
    m_body.assign(kStringHeaderLength + byteLength, 0);
    StoreLE32(m_body.data() + kEncodingOffset, kUtf16Encoding);
    StoreLE32(m_body.data() + kByteLengthOffset, byteLength);
    uint8_t* out = m_body.data() + kStringHeaderLength;
    for (const char16_t c : text.GetCString()) {
        StoreLE16(out, c);
        out += 2;
    }
    m_text = text;
}

void ITunesDBString::SetListText(ITunesDBStrings& strings, const AString& text, uint32_t type) {
    for (const auto& string : strings) {
        if (string->GetType() == type) {
            string->SetText(text, type);
            return;
        }
    }
    auto string = std::make_unique<ITunesDBString>();
    string->SetText(text, type);
    strings.push_back(std::move(string));
}

int ITunesDBString::ReadList(AFile& stream, uint32_t count, uint64_t parentEnd, ITunesDBStrings& strings) {
    strings.clear();
    for (uint32_t i = 0; i < count; ++i) {
        auto string = std::make_unique<ITunesDBString>();
        if (const int result = string->Read(stream, parentEnd))
            return result;
        strings.push_back(std::move(string));
    }
    return 0;
}

int ITunesDBString::WriteList(AFile& stream, const ITunesDBStrings& strings) {
    for (const auto& string : strings) {
        if (const int result = string->Write(stream))
            return result;
    }
    return 0;
}

uint64_t ITunesDBString::ListLength(const ITunesDBStrings& strings) {
    uint64_t total = 0;
    for (const auto& string : strings)
        total += string->GetTotalLength();
    return total;
}
