#include "library/ipod/ITunesDBPlayListList.h"

#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDBInput.h"
#include "library/ipod/ITunesDBReadContext.h"

#include <algorithm>

namespace {

constexpr char kTag[] = "mhlp";

} // namespace

ITunesDBPlayListList::ITunesDBPlayListList() {
    m_frame.Create(kTag, kNewHeaderLength, false);
    m_playLists.push_back(std::make_unique<ITunesDBPlayList>(true));
}

int ITunesDBPlayListList::Read(ITunesDBInput& input, uint64_t parentEnd, const ITunesDBReadContext& context) {
    m_playLists.clear();
    const ITunesDBChunkCodes codes =
        context.Codes(kErrorNotPlayListList, kErrorPlayListListNoMemory, kErrorNotPlayListListNames,
                      kErrorPlayListListNoMemoryNames);
    if (const int result = m_frame.ReadHeader(input, parentEnd, kTag, kKnownLength, false, codes))
        return result;
    const uint32_t count = m_frame.Get32(kCountOffset);
    AProgress* progress = context.namesMode ? nullptr : context.progress;
    for (uint32_t i = 0; i < count; ++i) {
        if (progress)
            progress->PushRange(1.0 / count);
        auto playList = std::make_unique<ITunesDBPlayList>(false);
        const int result = playList->Read(input, parentEnd, context);
        m_playLists.push_back(std::move(playList));
        if (progress)
            progress->PopRange();
        if (result != 0)
            return result;
    }
    return 0;
}

uint64_t ITunesDBPlayListList::GetTotalLength() const {
    uint64_t total = m_frame.GetOwnLength();
    for (const auto& playList : m_playLists)
        total += playList->GetTotalLength();
    return total;
}

int ITunesDBPlayListList::Write(AFile& stream) const {
    if (const int result =
            m_frame.WriteHeader(stream, 0, {{kCountOffset, static_cast<uint32_t>(m_playLists.size())}}))
        return result;
    uint32_t groupCounter = 0;
    for (const auto& playList : m_playLists) {
        if (const int result = playList->Write(stream, groupCounter))
            return result;
    }
    return 0;
}

ITunesDBPlayList* ITunesDBPlayListList::GetPlayList(int index) const {
    return index >= 0 && index < GetCount() ? m_playLists[index].get() : nullptr;
}

ITunesDBPlayList* ITunesDBPlayListList::Add(std::unique_ptr<ITunesDBPlayList> playList) {
    m_playLists.push_back(std::move(playList));
    return m_playLists.back().get();
}

void ITunesDBPlayListList::Remove(const ITunesDBPlayList* playList) {
    if (playList == GetMaster())
        return;
    std::erase_if(m_playLists, [playList](const auto& held) { return held.get() == playList; });
}
