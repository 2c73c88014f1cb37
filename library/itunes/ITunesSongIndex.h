#pragma once
// The song records of one library or iPod source, owned here and nowhere else: playlists, bindings
// and entry lists only point at them. Kept in 100 buckets by database id, which give the order of the
// saved form, and found by database id through a hash table: a library's playlists look up each of
// their songs.

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class ITunesSong;

class ITunesSongIndex {
public:
    static constexpr uint32_t kBucketCount = 100;

    ITunesSongIndex();
    ITunesSongIndex(const ITunesSongIndex&) = delete;
    ITunesSongIndex& operator=(const ITunesSongIndex&) = delete;
    ~ITunesSongIndex();

    // Room for that many songs in all.
    void Reserve(size_t count) { m_byID.reserve(count); }
    // Takes the song, at the end of the bucket of its database id, which must not change from then on.
    ITunesSong* Add(std::unique_ptr<ITunesSong> song);
    // The first song with that database id, or null.
    ITunesSong* Find(uint32_t databaseID) const;
    // Frees the song when it is one of the index's; every pointer to it is void from then on.
    void Remove(const ITunesSong* song);
    // Hands the song over when it is one of the index's, else null.
    std::unique_ptr<ITunesSong> Take(const ITunesSong* song);
    void Clear();
    int GetCount() const { return m_count; }
    // Every song, bucket by bucket, each bucket in the order of insertion.
    template <class Visit> void ForEach(const Visit& visit) const {
        for (const Bucket& bucket : m_buckets) {
            for (const auto& song : bucket)
                visit(*song);
        }
    }

private:
    using Bucket = std::vector<std::unique_ptr<ITunesSong>>;

    void ForgetID(const ITunesSong& song, const Bucket& bucket);

    std::array<Bucket, kBucketCount> m_buckets;
    // The first song of each database id.
    std::unordered_map<uint32_t, ITunesSong*> m_byID;
    int m_count = 0;
};
