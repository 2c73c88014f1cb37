#include "remote/RemotePlayLists.h"

#include "foundation/ByteOrder.h"

#include <algorithm>

namespace {

constexpr size_t kCountSize = 4;

} // namespace

std::vector<uint8_t> RemotePlayLists::Write(const std::vector<RemotePlayList>& playLists) {
    std::vector<uint8_t> answer(kCountSize + playLists.size() * kEntrySize);
    StoreLE32(answer.data(), static_cast<uint32_t>(playLists.size()));
    uint8_t* entry = answer.data() + kCountSize;
    for (const RemotePlayList& playList : playLists) {
        const std::u16string& name = playList.name.GetCString();
        const size_t units = std::min<size_t>(name.size(), kMaxNameLength);
        for (size_t i = 0; i < units; ++i)
            StoreLE16(entry + 2 * i, static_cast<uint16_t>(name[i]));
        StoreLE32(entry + kNameBytes, playList.kind);
        entry += kEntrySize;
    }
    return answer;
}

std::optional<std::vector<RemotePlayList>> RemotePlayLists::Read(std::span<const uint8_t> answer) {
    if (answer.size() < kCountSize)
        return std::nullopt;
    const uint32_t count = LoadLE32(answer.data());
    if (count > (answer.size() - kCountSize) / kEntrySize)
        return std::nullopt;
    std::vector<RemotePlayList> playLists(count);
    const uint8_t* entry = answer.data() + kCountSize;
    for (RemotePlayList& playList : playLists) {
        std::u16string name;
        for (size_t i = 0; i < kNameBytes / 2; ++i) {
            const char16_t unit = LoadLE16(entry + 2 * i);
            if (unit == 0)
                break;
            name.push_back(unit);
        }
        playList.name = AString(std::move(name));
        playList.kind = LoadLE32(entry + kNameBytes);
        if (playList.kind != RemotePlayList::kUser && playList.kind != RemotePlayList::kOther)
            return std::nullopt;
        entry += kEntrySize;
    }
    return playLists;
}
