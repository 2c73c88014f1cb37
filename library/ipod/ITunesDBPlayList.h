#pragma once
// "mhyp": one playlist: its string objects (the title object names it) and its items. The first
// playlist of a list is the master playlist, whose name is the iPod's name.

#include "foundation/AString.h"
#include "library/ipod/ITunesDBChunkFrame.h"
#include "library/ipod/ITunesDBPlayListItem.h"
#include "library/ipod/ITunesDBString.h"

#include <cstdint>
#include <functional>
#include <vector>

class AFile;
class ITunesDBInput;
class ITunesDBTrack;
struct ITunesDBReadContext;

class ITunesDBPlayList {
public:
    static constexpr uint32_t kKnownLength = 36;
    static constexpr uint32_t kNewHeaderLength = 108;
    static constexpr uint32_t kStringCountOffset = 12;
    static constexpr uint32_t kItemCountOffset = 16;
    static constexpr uint32_t kMasterOffset = 20;
    static constexpr uint32_t kPersistentIdOffset = 28; // 64 bits

    // A new playlist without name or items; `master` marks the master playlist.
    explicit ITunesDBPlayList(bool master);

    int Read(ITunesDBInput& input, uint64_t parentEnd, const ITunesDBReadContext& context);
    int Write(AFile& stream, uint32_t& groupCounter) const;
    uint64_t GetTotalLength() const;

    // 0, or -2 when the playlist has no title object.
    int GetName(AString& out) const;
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    const ITunesDBPlayListItem& GetItem(int index) const { return m_items.at(index); }
    uint32_t GetStringCount() const { return static_cast<uint32_t>(m_strings.size()); }

    void AddItem(ITunesDBTrack* track);
    void RemoveItemsOf(const ITunesDBTrack* track);
    // The items name these tracks in this order; an item of a track that stays keeps what it holds.
    void SetTracks(const std::vector<ITunesDBTrack*>& tracks);
    void SetName(const AString& name);
    // The id that names the playlist across saves.
    uint64_t GetPersistentId() const;
    void SetPersistentId(uint64_t id);
    // Binds each item to the track its id names. An item whose non-zero id names no track is dropped:
    // after the renumbering on writing its id would name another song.
    void BindItems(const std::function<ITunesDBTrack*(uint32_t trackId)>& findTrack);

private:
    int ReadStrings(ITunesDBInput& input);
    int ReadItems(ITunesDBInput& input, const ITunesDBReadContext& context);

    ITunesDBChunkFrame m_frame;
    ITunesDBStrings m_strings;
    std::vector<ITunesDBPlayListItem> m_items;
};
