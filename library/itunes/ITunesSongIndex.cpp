#include "library/itunes/ITunesSongIndex.h"

#include "library/itunes/ITunesSong.h"

#include <algorithm>

ITunesSongIndex::ITunesSongIndex() = default;

ITunesSongIndex::~ITunesSongIndex() = default;

ITunesSong* ITunesSongIndex::Add(std::unique_ptr<ITunesSong> song) {
    if (!song)
        return nullptr;
    Bucket& bucket = m_buckets[song->GetDatabaseID() % kBucketCount];
    bucket.push_back(std::move(song));
    ++m_count;
    return bucket.back().get();
}

ITunesSong* ITunesSongIndex::Find(uint32_t databaseID) const {
    const Bucket& bucket = m_buckets[databaseID % kBucketCount];
    const auto found = std::find_if(bucket.begin(), bucket.end(), [databaseID](const auto& song) {
        return song->GetDatabaseID() == databaseID;
    });
    return found == bucket.end() ? nullptr : found->get();
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
    return taken;
}

void ITunesSongIndex::Clear() {
    for (Bucket& bucket : m_buckets)
        bucket.clear();
    m_count = 0;
}
