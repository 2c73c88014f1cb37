#include "library/ipod/ITunesDBPlayListItem.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDBTrack.h"

namespace {

constexpr char kTag[] = "mhip";
constexpr ITunesDBChunkCodes kCodes{kErrorNotPlayListItem, kErrorNotPlayListItem, kErrorPlayListItemNoMemory};

} // namespace

ITunesDBPlayListItem::ITunesDBPlayListItem() {
    m_frame.Create(kTag, kNewHeaderLength, true);
}

ITunesDBPlayListItem::ITunesDBPlayListItem(ITunesDBTrack* track) : ITunesDBPlayListItem() {
    m_strings.push_back(ITunesDBString::NewPosition());
    m_track = track;
}

int ITunesDBPlayListItem::Read(AFile& stream, uint64_t parentEnd) {
    m_strings.clear();
    m_track = nullptr;
    if (const int result = m_frame.ReadHeader(stream, parentEnd, kTag, kKnownLength, true, kCodes))
        return result;
    const uint32_t count = m_frame.Get32(kStringCountOffset);
    if (const int result = ITunesDBString::ReadList(stream, count, m_frame.GetEnd(), m_strings))
        return result;
    return m_frame.ReadTail(stream, kErrorPlayListItemNoMemory);
}

uint64_t ITunesDBPlayListItem::GetTotalLength() const {
    return m_frame.GetOwnLength() + ITunesDBString::ListLength(m_strings);
}

int ITunesDBPlayListItem::Write(AFile& stream, uint32_t& groupCounter) {
    m_frame.Set32(kStringCountOffset, GetStringCount());
    if (m_track) {
        ++groupCounter;
        m_frame.Set32(kTrackIdOffset, m_track->GetTrackId());
        m_frame.Set32(kGroupOffset, groupCounter + 1);
    }
    if (const int result = m_frame.WriteHeader(stream, GetTotalLength()))
        return result;
    if (const int result = ITunesDBString::WriteList(stream, m_strings))
        return result;
    return m_frame.WriteTail(stream);
}
