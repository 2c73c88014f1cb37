#pragma once
// "mhsd": a data set. Type 1 holds the track list, types 2 and 3 a playlist list; a data set of any
// other type (album lists, smart playlists and whatever later writers add) is kept as read.

#include "library/ipod/ITunesDBChunkFrame.h"
#include "library/ipod/ITunesDBPlayListList.h"
#include "library/ipod/ITunesDBTrackList.h"

#include <cstdint>
#include <memory>

class AFile;
class ITunesDBInput;
struct ITunesDBReadContext;

class ITunesDBDataSet {
public:
    enum Type : uint32_t { kTrackList = 1, kPlayLists = 2, kPodcastPlayLists = 3 };
    static constexpr uint32_t kKnownLength = 16;
    static constexpr uint32_t kNewHeaderLength = 96;
    static constexpr uint32_t kTypeOffset = 12;

    // A new data set with an empty body of its type.
    explicit ITunesDBDataSet(uint32_t type);

    int Read(ITunesDBInput& input, uint64_t parentEnd, const ITunesDBReadContext& context);
    int Write(AFile& stream) const;
    uint64_t GetTotalLength() const;

    uint32_t GetType() const { return m_frame.Get32(kTypeOffset); }
    // Types 1 to 3: the data sets this system understands.
    bool IsKnownType() const { return IsKnownType(GetType()); }
    static bool IsKnownType(uint32_t type) { return type >= kTrackList && type <= kPodcastPlayLists; }
    // Null when the data set is of another type, or its body was not read.
    ITunesDBTrackList* GetTrackList() const { return m_trackList.get(); }
    ITunesDBPlayListList* GetPlayListList() const { return m_playListList.get(); }

private:
    int ReadBody(ITunesDBInput& input, const ITunesDBReadContext& context);

    ITunesDBChunkFrame m_frame;
    std::unique_ptr<ITunesDBTrackList> m_trackList;
    std::unique_ptr<ITunesDBPlayListList> m_playListList;
    // False after a names-mode read, which skips what it does not need: such a data set cannot be written.
    bool m_wholeBodyRead = true;
};
