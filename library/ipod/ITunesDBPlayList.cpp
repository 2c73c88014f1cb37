#include "library/ipod/ITunesDBPlayList.h"

#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDBInput.h"
#include "library/ipod/ITunesDBReadContext.h"

#include <algorithm>
#include <map>

namespace {

constexpr char kTag[] = "mhyp";

} // namespace

ITunesDBPlayList::ITunesDBPlayList(bool master) {
    m_frame.Create(kTag, kNewHeaderLength, true);
    m_frame.Set32(kMasterOffset, master ? 1 : 0);
}

int ITunesDBPlayList::Read(ITunesDBInput& input, uint64_t parentEnd, const ITunesDBReadContext& context) {
    m_strings.clear();
    m_items.clear();
    const ITunesDBChunkCodes codes = context.Codes(kErrorNotPlayList, kErrorPlayListNoMemory,
                                                   kErrorNotPlayListNames, kErrorPlayListNoMemoryNames);
    if (const int result = m_frame.ReadHeader(input, parentEnd, kTag, kKnownLength, true, codes))
        return result;
    if (const int result = ReadStrings(input))
        return result;
    if (context.namesMode)
        return m_frame.SkipToEnd(input);
    if (const int result = ReadItems(input, context))
        return result;
    return m_frame.ReadTail(input, codes.noMemory);
}

int ITunesDBPlayList::ReadStrings(ITunesDBInput& input) {
    return ITunesDBString::ReadList(input, m_frame.Get32(kStringCountOffset), m_frame.GetEnd(), m_strings);
}

int ITunesDBPlayList::ReadItems(ITunesDBInput& input, const ITunesDBReadContext& context) {
    AString name;
    GetName(name);
    context.OpenRange(AString("Reading Playlist ") + name + "...");
    const uint32_t count = m_frame.Get32(kItemCountOffset);
    // No more items than their smallest headers leave room for.
    const uint64_t room = m_frame.GetEnd() - input.GetPosition();
    m_items.reserve(std::min<uint64_t>(count, room / ITunesDBPlayListItem::kKnownLength));
    int result = 0;
    for (uint32_t i = 0; i < count && result == 0; ++i) {
        result = context.BeforeRecord(i, count);
        if (result != 0)
            break;
        result = m_items.emplace_back().Read(input, m_frame.GetEnd());
    }
    context.CloseRange(AString("Reading Playlist ") + name + " Done!");
    return result;
}

uint64_t ITunesDBPlayList::GetTotalLength() const {
    uint64_t total = m_frame.GetOwnLength() + ITunesDBString::ListLength(m_strings);
    for (const ITunesDBPlayListItem& item : m_items)
        total += item.GetTotalLength();
    return total;
}

int ITunesDBPlayList::Write(AFile& stream, uint32_t& groupCounter) const {
    if (const int result = m_frame.WriteHeader(stream, GetTotalLength(),
                                               {{kStringCountOffset, GetStringCount()},
                                                {kItemCountOffset, static_cast<uint32_t>(m_items.size())}}))
        return result;
    if (const int result = ITunesDBString::WriteList(stream, m_strings))
        return result;
    for (uint32_t position = 0; position < m_items.size(); ++position) {
        if (const int result = m_items[position].Write(stream, groupCounter, position))
            return result;
    }
    return m_frame.WriteTail(stream);
}

int ITunesDBPlayList::GetName(AString& out) const {
    for (const ITunesDBString& string : m_strings) {
        if (string.GetType() == ITunesDBString::kTitle) {
            out = string.GetText();
            return 0;
        }
    }
    return kErrorInvalidElement;
}

void ITunesDBPlayList::AddItem(ITunesDBTrack* track) {
    m_items.emplace_back(track);
}

void ITunesDBPlayList::RemoveItemsOf(const ITunesDBTrack* track) {
    std::erase_if(m_items, [track](const ITunesDBPlayListItem& item) { return item.GetTrack() == track; });
}

void ITunesDBPlayList::BindItems(const std::function<ITunesDBTrack*(uint32_t trackId)>& findTrack) {
    for (ITunesDBPlayListItem& item : m_items)
        item.Bind(item.GetTrackId() == 0 ? nullptr : findTrack(item.GetTrackId()));
    std::erase_if(
        m_items, [](const ITunesDBPlayListItem& item) { return item.GetTrackId() != 0 && !item.GetTrack(); });
}

void ITunesDBPlayList::SetTracks(const std::vector<ITunesDBTrack*>& tracks) {
    std::multimap<const ITunesDBTrack*, ITunesDBPlayListItem> kept;
    for (ITunesDBPlayListItem& item : m_items)
        kept.emplace(item.GetTrack(), std::move(item));
    m_items.clear();
    m_items.reserve(tracks.size());
    for (ITunesDBTrack* track : tracks) {
        const auto found = kept.find(track);
        if (found == kept.end()) {
            AddItem(track);
            continue;
        }
        m_items.push_back(std::move(found->second));
        kept.erase(found);
    }
}

void ITunesDBPlayList::SetName(const AString& name) {
    ITunesDBString::SetListText(m_strings, name, ITunesDBString::kTitle);
}

uint64_t ITunesDBPlayList::GetPersistentId() const {
    return m_frame.Get32(kPersistentIdOffset) | uint64_t(m_frame.Get32(kPersistentIdOffset + 4)) << 32;
}

void ITunesDBPlayList::SetPersistentId(uint64_t id) {
    m_frame.Set32(kPersistentIdOffset, static_cast<uint32_t>(id));
    m_frame.Set32(kPersistentIdOffset + 4, static_cast<uint32_t>(id >> 32));
}
