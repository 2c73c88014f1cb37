#include "library/ipod/ITunesDBDataSet.h"

#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDBInput.h"
#include "library/ipod/ITunesDBReadContext.h"

namespace {

constexpr char kTag[] = "mhsd";

} // namespace

ITunesDBDataSet::ITunesDBDataSet(uint32_t type) {
    m_frame.Create(kTag, kNewHeaderLength, true);
    m_frame.Set32(kTypeOffset, type);
    if (type == kTrackList)
        m_trackList = std::make_unique<ITunesDBTrackList>();
    else if (IsKnownType(type))
        m_playListList = std::make_unique<ITunesDBPlayListList>();
}

int ITunesDBDataSet::Read(ITunesDBInput& input, uint64_t parentEnd, const ITunesDBReadContext& context) {
    m_trackList.reset();
    m_playListList.reset();
    m_wholeBodyRead = false;
    const ITunesDBChunkCodes codes = context.Codes(kErrorNotDataSet, kErrorDataSetNoMemory,
                                                   kErrorNotDataSetNames, kErrorDataSetNoMemoryNames);
    if (const int result = m_frame.ReadHeader(input, parentEnd, kTag, kKnownLength, true, codes))
        return result;
    if (const int result = ReadBody(input, context))
        return result;
    // Names mode needs nothing behind the playlist names; in library mode the rest is kept (the whole
    // body of a data set of another type).
    if (context.namesMode)
        return m_frame.SkipToEnd(input);
    if (const int result = m_frame.ReadTail(input, codes.noMemory))
        return result;
    m_wholeBodyRead = true;
    return 0;
}

int ITunesDBDataSet::ReadBody(ITunesDBInput& input, const ITunesDBReadContext& context) {
    const uint32_t type = GetType();
    if (type == kTrackList) {
        if (context.namesMode)
            return 0;
        m_trackList = std::make_unique<ITunesDBTrackList>();
        return m_trackList->Read(input, m_frame.GetEnd(), context);
    }
    if (IsKnownType(type)) {
        m_playListList = std::make_unique<ITunesDBPlayListList>();
        return m_playListList->Read(input, m_frame.GetEnd(), context);
    }
    return 0;
}

uint64_t ITunesDBDataSet::GetTotalLength() const {
    uint64_t total = m_frame.GetOwnLength();
    if (m_trackList)
        total += m_trackList->GetTotalLength();
    if (m_playListList)
        total += m_playListList->GetTotalLength();
    return total;
}

int ITunesDBDataSet::Write(AFile& stream) const {
    if (!m_wholeBodyRead)
        return kErrorDataSetBodyNotRead;
    if (const int result = m_frame.WriteHeader(stream, GetTotalLength()))
        return result;
    if (m_trackList) {
        if (const int result = m_trackList->Write(stream))
            return result;
    }
    if (m_playListList) {
        if (const int result = m_playListList->Write(stream))
            return result;
    }
    return m_frame.WriteTail(stream);
}
