#include "library/ipod/ITunesDBTrackList.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDBReadContext.h"

#include <algorithm>

namespace {

constexpr char kTag[] = "mhlt";
constexpr ITunesDBChunkCodes kCodes{kErrorNotTrackList, kErrorNotTrackList, kErrorTrackListNoMemory};

} // namespace

ITunesDBTrackList::ITunesDBTrackList() {
    m_frame.Create(kTag, kNewHeaderLength, false);
}

void ITunesDBTrackList::Clear() {
    for (auto& bucket : m_buckets)
        bucket.clear();
    m_byHandle.clear();
    m_count = 0;
}

int ITunesDBTrackList::Read(AFile& stream, uint64_t parentEnd, const ITunesDBReadContext& context) {
    Clear();
    if (const int result = m_frame.ReadHeader(stream, parentEnd, kTag, kKnownLength, false, kCodes))
        return result;
    context.OpenRange(AString("Reading Library from iPod Database..."));
    const uint32_t count = m_frame.Get32(kCountOffset);
    int result = 0;
    for (uint32_t i = 0; i < count && result == 0; ++i) {
        result = context.BeforeRecord(i, count);
        if (result != 0)
            break;
        auto track = std::make_unique<ITunesDBTrack>();
        result = track->Read(stream, parentEnd);
        if (result == 0)
            Add(std::move(track));
    }
    context.CloseRange(AString("Reading Library from iPod Database Done!"));
    return result;
}

uint64_t ITunesDBTrackList::GetTotalLength() const {
    uint64_t total = m_frame.GetOwnLength();
    ForEachTrack([&total](ITunesDBTrack& track) { total += track.GetTotalLength(); });
    return total;
}

int ITunesDBTrackList::Write(AFile& stream) {
    m_frame.Set32(kCountOffset, static_cast<uint32_t>(m_count));
    if (const int result = m_frame.WriteHeader(stream, 0))
        return result;
    int result = 0;
    ForEachTrack([&stream, &result](ITunesDBTrack& track) {
        if (result == 0)
            result = track.Write(stream);
    });
    return result;
}

void ITunesDBTrackList::ForEachTrack(const std::function<void(ITunesDBTrack&)>& visit) const {
    std::vector<ITunesDBTrack*> tracks;
    tracks.reserve(m_count);
    for (const auto& bucket : m_buckets) {
        for (const auto& track : bucket)
            tracks.push_back(track.get());
    }
    // Handles grow in the order tracks were read or added.
    std::sort(tracks.begin(), tracks.end(),
              [](const ITunesDBTrack* a, const ITunesDBTrack* b) { return a->GetHandle() < b->GetHandle(); });
    for (ITunesDBTrack* track : tracks)
        visit(*track);
}

ITunesDBTrack* ITunesDBTrackList::FindByHandle(uint64_t handle) const {
    const auto found = m_byHandle.find(handle);
    return found == m_byHandle.end() ? nullptr : found->second;
}

ITunesDBTrack* ITunesDBTrackList::Add(std::unique_ptr<ITunesDBTrack> track) {
    ITunesDBTrack* added = track.get();
    m_buckets[added->GetTitleChecksum() % kBucketCount].push_back(std::move(track));
    m_byHandle[added->GetHandle()] = added;
    ++m_count;
    return added;
}

void ITunesDBTrackList::Remove(const ITunesDBTrack* track) {
    auto& bucket = m_buckets[track->GetTitleChecksum() % kBucketCount];
    const auto found =
        std::find_if(bucket.begin(), bucket.end(), [track](const auto& held) { return held.get() == track; });
    if (found == bucket.end())
        return;
    m_byHandle.erase(track->GetHandle());
    bucket.erase(found);
    --m_count;
}

void ITunesDBTrackList::SetTitle(ITunesDBTrack& track, const AString& title) {
    auto& bucket = m_buckets[track.GetTitleChecksum() % kBucketCount];
    const auto found =
        std::find_if(bucket.begin(), bucket.end(), [&track](const auto& held) { return held.get() == &track; });
    if (found == bucket.end())
        return;
    std::unique_ptr<ITunesDBTrack> held = std::move(*found);
    bucket.erase(found);
    held->SetTitle(title);
    m_buckets[held->GetTitleChecksum() % kBucketCount].push_back(std::move(held));
}

void ITunesDBTrackList::Renumber() {
    uint32_t nextId = 1;
    ForEachTrack([&nextId](ITunesDBTrack& track) { track.SetTrackId(nextId++); });
}
