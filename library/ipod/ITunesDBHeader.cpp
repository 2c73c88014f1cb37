#include "library/ipod/ITunesDBHeader.h"

#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDBInput.h"
#include "library/ipod/ITunesDBReadContext.h"

#include <algorithm>
#include <unordered_map>

namespace {

constexpr char kTag[] = "mhbd";
constexpr int kRolesWithPlayLists = 3;

} // namespace

ITunesDBHeader::ITunesDBHeader() {
    m_frame.Create(kTag, kNewHeaderLength, true);
    m_frame.Set32(kUnknownOneOffset, 1);
    m_frame.Set32(kVersionOffset, kNewVersion);
    for (const uint32_t type :
         {ITunesDBDataSet::kTrackList, ITunesDBDataSet::kPodcastPlayLists, ITunesDBDataSet::kPlayLists})
        m_dataSets.push_back(std::make_unique<ITunesDBDataSet>(type));
}

int ITunesDBHeader::Read(AFile& stream, const ITunesDBReadContext& context) {
    m_dataSets.clear();
    m_frame = ITunesDBChunkFrame();
    m_source = ITunesDBBytes();
    if (context.namesMode) {
        ITunesDBInput input(stream);
        return ReadTree(input, context);
    }
    if (const int result = ReadSource(stream, kErrorDatabaseNoMemory))
        return result;
    ITunesDBInput input(m_source.Get());
    return ReadTree(input, context);
}

// The bytes from the stream position to the end of the tree (its total length) or of the stream,
// whichever comes first; the root's checks then see what they would see in the stream.
int ITunesDBHeader::ReadSource(AFile& stream, int noMemoryCode) {
    const uint64_t start = stream.GetPosition();
    const uint64_t room = stream.GetLength() > start ? stream.GetLength() - start : 0;
    uint64_t length = room;
    if (room >= ITunesDBChunkFrame::kPrefixLength) {
        uint8_t prefix[ITunesDBChunkFrame::kPrefixLength];
        if (const int result = stream.Read(prefix, sizeof prefix))
            return result;
        if (const int result = stream.Seek(start))
            return result;
        const uint32_t total = LoadLE32(prefix + ITunesDBChunkFrame::kTotalLengthOffset);
        length = std::min<uint64_t>(room, std::max<uint32_t>(total, ITunesDBChunkFrame::kPrefixLength));
    }
    if (length > UINT32_MAX)
        return noMemoryCode;
    m_source = ITunesDBBytes::Blank(static_cast<uint32_t>(length));
    if (m_source.size() != length)
        return noMemoryCode;
    return length == 0 ? 0 : stream.Read(m_source.Mutable().data(), static_cast<uint32_t>(length));
}

int ITunesDBHeader::ReadTree(ITunesDBInput& input, const ITunesDBReadContext& context) {
    const ITunesDBChunkCodes codes = context.Codes(kErrorNotDatabase, kErrorDatabaseNoMemory,
                                                   kErrorNotDatabaseNames, kErrorDatabaseNoMemoryNames);
    if (const int result = m_frame.ReadHeader(input, input.GetLength(), kTag, kKnownLength, true, codes))
        return result;
    if (const int result = ReadDataSets(input, context))
        return result;
    if (context.namesMode || !context.withPlayLists)
        return 0;
    if (const int result = m_frame.ReadTail(input, codes.noMemory))
        return result;
    BindPlayListItems();
    return 0;
}

int ITunesDBHeader::ReadDataSets(ITunesDBInput& input, const ITunesDBReadContext& context) {
    const uint32_t count = m_frame.Get32(kDataSetCountOffset);
    const bool libraryOnly = !context.namesMode && !context.withPlayLists;
    AProgress* progress = context.namesMode ? nullptr : context.progress;
    for (uint32_t i = 0; i < count; ++i) {
        if (progress)
            progress->PushRange(libraryOnly ? 1.0 : 1.0 / count);
        auto dataSet = std::make_unique<ITunesDBDataSet>(0);
        const int result = dataSet->Read(input, m_frame.GetEnd(), context);
        const bool firstKnownRead = dataSet->IsKnownType();
        m_dataSets.push_back(std::move(dataSet));
        if (progress)
            progress->PopRange();
        if (result != 0)
            return result;
        // Without the playlists, reading ends with the first data set.
        if (libraryOnly && firstKnownRead)
            return 0;
    }
    return 0;
}

void ITunesDBHeader::BindPlayListItems() {
    const ITunesDBTrackList* trackList = GetTrackList();
    std::unordered_map<uint32_t, ITunesDBTrack*> byId;
    if (trackList)
        trackList->ForEachTrack(
            [&byId](ITunesDBTrack& track) { byId.try_emplace(track.GetTrackId(), &track); });
    const auto findTrack = [&byId](uint32_t id) -> ITunesDBTrack* {
        const auto found = byId.find(id);
        return found == byId.end() ? nullptr : found->second;
    };
    for (ITunesDBPlayListList* list : GetPlayListLists()) {
        for (int i = 0; i < list->GetCount(); ++i)
            list->GetPlayList(i)->BindItems(findTrack);
    }
}

uint64_t ITunesDBHeader::GetTotalLength() const {
    uint64_t total = m_frame.GetOwnLength();
    for (const auto& dataSet : m_dataSets)
        total += dataSet->GetTotalLength();
    return total;
}

int ITunesDBHeader::Write(AFile& stream) {
    if (ITunesDBTrackList* trackList = GetTrackList())
        trackList->Renumber();
    if (const int result =
            m_frame.WriteHeader(stream, GetTotalLength(),
                                {{kVersionOffset, std::min(GetVersion(), kHighestWrittenVersion)},
                                 {kDataSetCountOffset, static_cast<uint32_t>(m_dataSets.size())}}))
        return result;
    for (const auto& dataSet : m_dataSets) {
        if (const int result = dataSet->Write(stream))
            return result;
    }
    return m_frame.WriteTail(stream);
}

ITunesDBDataSet* ITunesDBHeader::GetDataSet(int role) const {
    int seen = 0;
    for (const auto& dataSet : m_dataSets) {
        if (dataSet->IsKnownType() && ++seen == role)
            return dataSet.get();
    }
    return nullptr;
}

ITunesDBTrackList* ITunesDBHeader::GetTrackList() const {
    const ITunesDBDataSet* first = GetDataSet(1);
    return first ? first->GetTrackList() : nullptr;
}

std::vector<ITunesDBPlayListList*> ITunesDBHeader::GetPlayListLists() const {
    std::vector<ITunesDBPlayListList*> lists;
    for (int role = 2; role <= kRolesWithPlayLists; ++role) {
        const ITunesDBDataSet* dataSet = GetDataSet(role);
        if (dataSet && dataSet->GetPlayListList())
            lists.push_back(dataSet->GetPlayListList());
    }
    return lists;
}
