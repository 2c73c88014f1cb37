#pragma once
// "mhlp": the playlists of a data set of type 2 or 3; the first is the master playlist.

#include "library/ipod/ITunesDBChunkFrame.h"
#include "library/ipod/ITunesDBPlayList.h"

#include <cstdint>
#include <memory>
#include <vector>

class AFile;
class ITunesDBInput;
struct ITunesDBReadContext;

class ITunesDBPlayListList {
public:
    static constexpr uint32_t kKnownLength = 12;
    static constexpr uint32_t kNewHeaderLength = 92;
    static constexpr uint32_t kCountOffset = 8;

    // A new list holds one master playlist without a name.
    ITunesDBPlayListList();

    int Read(ITunesDBInput& input, uint64_t parentEnd, const ITunesDBReadContext& context);
    int Write(AFile& stream) const;
    uint64_t GetTotalLength() const;

    int GetCount() const { return static_cast<int>(m_playLists.size()); }
    ITunesDBPlayList* GetPlayList(int index) const;
    ITunesDBPlayList* GetMaster() const { return GetPlayList(0); }
    // Appends a playlist after the others.
    ITunesDBPlayList* Add(std::unique_ptr<ITunesDBPlayList> playList);
    // Removes a playlist other than the master playlist.
    void Remove(const ITunesDBPlayList* playList);

private:
    ITunesDBChunkFrame m_frame;
    std::vector<std::unique_ptr<ITunesDBPlayList>> m_playLists;
};
