#include "library/ipod/ITunesDBTrackList.h"

#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDBInput.h"
#include "library/ipod/ITunesDBReadContext.h"

#include <algorithm>

namespace {

constexpr char kTag[] = "mhlt";
constexpr ITunesDBChunkCodes kCodes{kErrorNotTrackList, kErrorNotTrackList, kErrorTrackListNoMemory};

bool HandleBefore(const std::unique_ptr<ITunesDBTrack>& track, uint64_t handle) {
    return track->GetHandle() < handle;
}

} // namespace

ITunesDBTrackList::ITunesDBTrackList() {
    m_frame.Create(kTag, kNewHeaderLength, false);
}

void ITunesDBTrackList::Clear() {
    for (auto& bucket : m_buckets)
        bucket.clear();
    m_tracks.clear();
}

int ITunesDBTrackList::Read(ITunesDBInput& input, uint64_t parentEnd, const ITunesDBReadContext& context) {
    Clear();
    if (const int result = m_frame.ReadHeader(input, parentEnd, kTag, kKnownLength, false, kCodes))
        return result;
    context.OpenRange(AString("Reading Library from iPod Database..."));
    const uint32_t count = m_frame.Get32(kCountOffset);
    // No more tracks than their smallest headers leave room for.
    m_tracks.reserve(
        std::min<uint64_t>(count, (parentEnd - input.GetPosition()) / ITunesDBChunkFrame::kPrefixLength));
    int result = 0;
    for (uint32_t i = 0; i < count && result == 0; ++i) {
        result = context.BeforeRecord(i, count);
        if (result != 0)
            break;
        auto track = std::make_unique<ITunesDBTrack>();
        result = track->Read(input, parentEnd);
        if (result == 0)
            Add(std::move(track));
    }
    context.CloseRange(AString("Reading Library from iPod Database Done!"));
    return result;
}

uint64_t ITunesDBTrackList::GetTotalLength() const {
    uint64_t total = m_frame.GetOwnLength();
    for (const auto& track : m_tracks)
        total += track->GetTotalLength();
    return total;
}

int ITunesDBTrackList::Write(AFile& stream) const {
    if (const int result =
            m_frame.WriteHeader(stream, 0, {{kCountOffset, static_cast<uint32_t>(m_tracks.size())}}))
        return result;
    for (const auto& track : m_tracks) {
        if (const int result = track->Write(stream))
            return result;
    }
    return 0;
}

void ITunesDBTrackList::ForEachTrack(const std::function<void(ITunesDBTrack&)>& visit) const {
    for (const auto& track : m_tracks)
        visit(*track);
}

ITunesDBTrack* ITunesDBTrackList::FindByHandle(uint64_t handle) const {
    const auto found = std::lower_bound(m_tracks.begin(), m_tracks.end(), handle, HandleBefore);
    return found != m_tracks.end() && (*found)->GetHandle() == handle ? found->get() : nullptr;
}

ITunesDBTrack* ITunesDBTrackList::Add(std::unique_ptr<ITunesDBTrack> track) {
    ITunesDBTrack* added = track.get();
    m_buckets[added->GetTitleChecksum() % kBucketCount].push_back(added);
    // Tracks come in the order of their handles: the place is almost always the end.
    const auto place = std::lower_bound(m_tracks.begin(), m_tracks.end(), added->GetHandle(), HandleBefore);
    m_tracks.insert(place, std::move(track));
    return added;
}

void ITunesDBTrackList::Remove(const ITunesDBTrack* track) {
    const auto found = std::lower_bound(m_tracks.begin(), m_tracks.end(), track->GetHandle(), HandleBefore);
    if (found == m_tracks.end() || found->get() != track)
        return;
    // A title changed after the add leaves the track in the bucket of its old title.
    auto& bucket = m_buckets[track->GetTitleChecksum() % kBucketCount];
    if (std::erase(bucket, track) == 0) {
        for (auto& other : m_buckets)
            std::erase(other, track);
    }
    m_tracks.erase(found);
}

void ITunesDBTrackList::SetTitle(ITunesDBTrack& track, const AString& title) {
    auto& bucket = m_buckets[track.GetTitleChecksum() % kBucketCount];
    if (std::erase(bucket, &track) == 0)
        return;
    track.SetTitle(title);
    m_buckets[track.GetTitleChecksum() % kBucketCount].push_back(&track);
}

void ITunesDBTrackList::Renumber() {
    uint32_t nextId = 1;
    for (const auto& track : m_tracks)
        track->SetTrackId(nextId++);
}
