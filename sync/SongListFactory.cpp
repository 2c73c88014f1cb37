#include "sync/SongListFactory.h"

#include "library/songlists/ADirPlayListsPod.h"
#include "library/songlists/ADirPlayListsTunes.h"
#include "library/songlists/ADirPod.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/ADirSongDir.h"
#include "library/songlists/ADirTunes.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <mutex>

namespace {

constexpr uint32_t kSongListTypes[] = {ADir::kTypeDir,     ADir::kTypeTunes, ADir::kTypePod,
                                       ADir::kTypeSongDir, ADir::kTypePodDB, ADir::kTypeTunesRemote};
constexpr uint32_t kPlayListTypes[] = {ADir::kTypePlayListsTunes, ADir::kTypePlayListsPod};

bool Contains(const auto& table, uint32_t type) {
    return std::find(std::begin(table), std::end(table), type) != std::end(table);
}

std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}

std::map<uint32_t, SongListFactory::Maker>& Registry() {
    static std::map<uint32_t, SongListFactory::Maker> makers;
    return makers;
}

std::unique_ptr<ADir> MakeBuiltIn(uint32_t type, AProgress* progress) {
    switch (type) {
    case ADir::kTypeDir:
        return std::make_unique<ADir>(progress);
    case ADir::kTypeTunes:
        return std::make_unique<ADirTunes>(progress);
    case ADir::kTypePod:
        return std::make_unique<ADirPod>(progress);
    case ADir::kTypeSongDir:
        return std::make_unique<ADirSongDir>(progress);
    case ADir::kTypePodDB:
        return std::make_unique<ADirPodDB>(progress);
    case ADir::kTypePlayListsTunes:
        return std::make_unique<ADirPlayListsTunes>(progress);
    case ADir::kTypePlayListsPod:
        return std::make_unique<ADirPlayListsPod>(progress);
    default:
        return nullptr;
    }
}

} // namespace

bool SongListFactory::IsSongListType(uint32_t type) {
    return Contains(kSongListTypes, type);
}

bool SongListFactory::IsPlayListType(uint32_t type) {
    return Contains(kPlayListTypes, type);
}

std::unique_ptr<ADir> SongListFactory::Make(uint32_t type, AProgress* progress) {
    if (!IsSongListType(type) && !IsPlayListType(type))
        return nullptr;
    Maker maker;
    {
        std::lock_guard<std::mutex> guard(RegistryLock());
        const auto found = Registry().find(type);
        if (found != Registry().end())
            maker = found->second;
    }
    return maker ? maker(progress) : MakeBuiltIn(type, progress);
}

void SongListFactory::Register(uint32_t type, Maker maker) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    if (maker)
        Registry()[type] = std::move(maker);
    else
        Registry().erase(type);
}
