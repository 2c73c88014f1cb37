#include "FakePodDrives.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

constexpr char kDatabaseFolder[] = "/iPod_Control/iTunes";
constexpr char kDatabaseName[] = "iTunesDB";
constexpr int kFailed = -1;

} // namespace

class FakePodDatabase : public itunesapp::PodDatabase {
public:
    FakePodDatabase(std::shared_ptr<FakePodDrives> drives, std::string mountPoint)
        : m_drives(std::move(drives)), m_mountPoint(std::move(mountPoint)),
          m_content(m_drives->Saved(m_mountPoint)) {}

    int Read(itunesapp::PodContent& content) override {
        content = m_content;
        return 0;
    }
    int AddTrack(itunesapp::PodTrack& track) override {
        track.id = m_drives->m_nextTrackID++;
        m_content.tracks.push_back(track);
        Master().trackIDs.push_back(track.id);
        return 0;
    }
    int UpdateTrack(const itunesapp::PodTrack& track) override {
        const auto found = std::find_if(m_content.tracks.begin(), m_content.tracks.end(),
                                        [&](const auto& held) { return held.id == track.id; });
        if (found == m_content.tracks.end())
            return kFailed;
        *found = track;
        return 0;
    }
    int RemoveTrack(int32_t id) override {
        if (std::erase_if(m_content.tracks, [id](const auto& track) { return track.id == id; }) == 0)
            return kFailed;
        for (auto& playlist : m_content.playLists)
            std::erase(playlist.trackIDs, id);
        return 0;
    }
    int CreatePlayList(const std::u16string& name, uint64_t& id) override {
        id = m_drives->m_nextPlaylistID++;
        m_content.playLists.push_back({id, name, false, {}});
        return 0;
    }
    int RenamePlayList(uint64_t id, const std::u16string& name) override {
        itunesapp::PodPlayList* playlist = Find(id);
        if (!playlist)
            return kFailed;
        playlist->name = name;
        return 0;
    }
    int DeletePlayList(uint64_t id) override {
        const itunesapp::PodPlayList* playlist = Find(id);
        if (!playlist || playlist->master)
            return kFailed;
        std::erase_if(m_content.playLists, [id](const auto& held) { return held.id == id; });
        return 0;
    }
    int SetPlayListTracks(uint64_t id, const std::vector<int32_t>& trackIDs) override {
        itunesapp::PodPlayList* playlist = Find(id);
        if (!playlist)
            return kFailed;
        playlist->trackIDs = trackIDs;
        return 0;
    }
    int Save() override {
        if (m_drives->failSaves)
            return kFailed;
        ++m_drives->saves;
        m_drives->Store(m_mountPoint, m_content);
        return 0;
    }

private:
    itunesapp::PodPlayList* Find(uint64_t id) {
        const auto found = std::find_if(m_content.playLists.begin(), m_content.playLists.end(),
                                        [id](const auto& playlist) { return playlist.id == id; });
        return found == m_content.playLists.end() ? nullptr : &*found;
    }
    itunesapp::PodPlayList& Master() {
        return *std::find_if(m_content.playLists.begin(), m_content.playLists.end(),
                             [](const auto& playlist) { return playlist.master; });
    }

    std::shared_ptr<FakePodDrives> m_drives;
    std::string m_mountPoint;
    itunesapp::PodContent m_content;
};

void FakePodDrives::MakePod(const std::string& mountPoint, const std::u16string& name) {
    itunesapp::PodContent content;
    content.playLists.push_back({m_nextPlaylistID++, name, true, {}});
    Store(mountPoint, content);
}

itunesapp::PodDatabaseOpener FakePodDrives::Opener() {
    std::weak_ptr<FakePodDrives> drives = weak_from_this();
    return [drives](const std::string& mountPoint) -> std::unique_ptr<itunesapp::PodDatabase> {
        const std::shared_ptr<FakePodDrives> held = drives.lock();
        if (!held || !held->m_saved.contains(mountPoint))
            return nullptr;
        return std::make_unique<FakePodDatabase>(held, mountPoint);
    };
}

void FakePodDrives::SaveBehindTheBack(const std::string& mountPoint, const itunesapp::PodContent& content) {
    Store(mountPoint, content);
}

void FakePodDrives::Store(const std::string& mountPoint, const itunesapp::PodContent& content) {
    m_saved[mountPoint] = content;
    const std::string folder = mountPoint + kDatabaseFolder;
    std::filesystem::create_directories(folder);
    const std::string temporary = folder + "/." + kDatabaseName + ".new";
    std::ofstream(temporary, std::ios::trunc) << "fake database, saved " << ++m_generation << " times\n";
    std::filesystem::rename(temporary, folder + "/" + kDatabaseName);
}
