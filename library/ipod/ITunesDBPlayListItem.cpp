#include "library/ipod/ITunesDBPlayListItem.h"

#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDBChunkFrame.h"
#include "library/ipod/ITunesDBInput.h"
#include "library/ipod/ITunesDBString.h"
#include "library/ipod/ITunesDBTrack.h"

#include <array>
#include <cstring>

namespace {

constexpr char kTag[] = "mhip";
constexpr ITunesDBChunkCodes kCodes{kErrorNotPlayListItem, kErrorNotPlayListItem, kErrorPlayListItemNoMemory};
constexpr uint32_t kPositionLength = 4;

bool IsPositionObject(const ITunesDBString& string) {
    return string.GetType() == ITunesDBString::kPosition &&
           uint64_t{string.GetHeaderLength()} + kPositionLength <= string.GetTotalLength();
}

} // namespace

ITunesDBPlayListItem::ITunesDBPlayListItem(ITunesDBTrack* track) : m_track(track) {
    ITunesDBChunkFrame header;
    header.Create(kTag, kNewHeaderLength, true);
    const ITunesDBString position = ITunesDBString::NewPosition();
    const std::span<const uint8_t> headerBytes = header.GetHeaderBytes();
    const std::span<const uint8_t> positionBytes = position.GetBytes();
    const uint32_t length = static_cast<uint32_t>(headerBytes.size() + positionBytes.size());
    m_bytes = ITunesDBBytes::Zeros(length);
    std::span<uint8_t> out = m_bytes.Mutable();
    if (out.size() != length)
        return;
    std::memcpy(out.data(), headerBytes.data(), headerBytes.size());
    std::memcpy(out.data() + headerBytes.size(), positionBytes.data(), positionBytes.size());
    StoreLE32(out.data() + ITunesDBChunkFrame::kTotalLengthOffset, length);
    StoreLE32(out.data() + kStringCountOffset, 1);
    m_positionOffset = kNewHeaderLength + position.GetHeaderLength();
}

int ITunesDBPlayListItem::Read(ITunesDBInput& input, uint64_t parentEnd) {
    m_track = nullptr;
    m_positionOffset = 0;
    ITunesDBChunkExtent extent;
    if (const int result =
            ITunesDBChunkFrame::CheckChunk(input, parentEnd, kTag, kKnownLength, true, kCodes, extent))
        return result;
    const auto length = static_cast<uint32_t>(extent.end - extent.start);
    if (const int result = input.Take(length, m_bytes, kErrorPlayListItemNoMemory))
        return result;
    // The string objects are checked where they lie; the item keeps them among its bytes.
    if (const int result = input.Seek(extent.start + extent.headerLength))
        return result;
    for (uint32_t i = 0; i < GetStringCount(); ++i) {
        const uint64_t at = input.GetPosition() - extent.start;
        ITunesDBString string;
        if (const int result = string.Read(input, extent.end))
            return result;
        if (m_positionOffset == 0 && IsPositionObject(string))
            m_positionOffset = static_cast<uint32_t>(at) + string.GetHeaderLength();
    }
    return input.Seek(extent.end);
}

int ITunesDBPlayListItem::Write(AFile& stream, uint32_t& groupCounter, uint32_t position) const {
    std::array<ITunesDBBytes::Patch, 3> patches{};
    size_t count = 0;
    if (m_track) {
        ++groupCounter;
        patches[count++] = {kGroupOffset, groupCounter + 1};
        patches[count++] = {kTrackIdOffset, m_track->GetTrackId()};
    }
    if (m_positionOffset != 0)
        patches[count++] = {m_positionOffset, position};
    return m_bytes.Write(stream, std::span(patches.data(), count));
}
