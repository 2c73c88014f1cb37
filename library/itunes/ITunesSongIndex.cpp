#include "library/itunes/ITunesSongIndex.h"

#include "library/itunes/ITunesSong.h"

#include <algorithm>

ITunesSongIndex::ITunesSongIndex() = default;

ITunesSongIndex::~ITunesSongIndex() = default;

ITunesSong* ITunesSongIndex::Add(std::unique_ptr<ITunesSong> song) {
    if (!song)
        return nullptr;
    const uint32_t id = song->GetDatabaseID();
    Bucket& bucket = m_buckets[id % kBucketCount];
    bucket.push_back(std::move(song));
    ++m_count;
    m_byID.emplace(id, bucket.back().get());
    return bucket.back().get();
}

ITunesSong* ITunesSongIndex::Find(uint32_t databaseID) const {
    const auto found = m_byID.find(databaseID);
    return found == m_byID.end() ? nullptr : found->second;
}

void ITunesSongIndex::Remove(const ITunesSong* song) {
    Take(song);
}

std::unique_ptr<ITunesSong> ITunesSongIndex::Take(const ITunesSong* song) {
    if (!song)
        return nullptr;
    Bucket& bucket = m_buckets[song->GetDatabaseID() % kBucketCount];
    const auto found =
        std::find_if(bucket.begin(), bucket.end(), [song](const auto& owned) { return owned.get() == song; });
    if (found == bucket.end())
        return nullptr;
    std::unique_ptr<ITunesSong> taken = std::move(*found);
    bucket.erase(found);
    --m_count;
    ForgetID(*taken, bucket);
    return taken;
}

// The next song of the same id in its bucket takes the place of a song that leaves.
void ITunesSongIndex::ForgetID(const ITunesSong& song, const Bucket& bucket) {
    const uint32_t id = song.GetDatabaseID();
    const auto entry = m_byID.find(id);
    if (entry == m_byID.end() || entry->second != &song)
        return;
    const auto next = std::find_if(bucket.begin(), bucket.end(),
                                   [id](const auto& other) { return other->GetDatabaseID() == id; });
    if (next == bucket.end())
        m_byID.erase(entry);
    else
        entry->second = next->get();
}

void ITunesSongIndex::Clear() {
    for (Bucket& bucket : m_buckets)
        bucket.clear();
    m_byID.clear();
    m_count = 0;
}
