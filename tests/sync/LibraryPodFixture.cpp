#include "sync/LibraryPodFixture.h"

#include "foundation/AFile.h"
#include "foundation/RecordIO.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBTrack.h"
#include "library/ipod/ITunesDBTrackList.h"
#include "library/itunes/LibraryPlayListName.h"
#include "library/songlists/ADirTunes.h"
#include "library/songlists/TestSongFiles.h"
#include "library/tools/LibraryTools.h"
#include "platform/itunes/Application.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackCollection.h"
#include "sync/SyncActionTexts.h"

#include <filesystem>
#include <fstream>

#ifdef ORVANTIS_WITH_GPOD
#include "tools/GpodView.h"
#endif

namespace fs = std::filesystem;
using namespace itunesapp;

namespace {

constexpr uint64_t kPrefsSize = 32;
constexpr uint64_t kAutoUpdateOffset = 10;
constexpr uint64_t kLibraryIdOffset = 12;

std::string PrefsFile(const std::string& podRoot) {
    return podRoot + "/iPod_Control/iTunes/iTunesPrefs";
}

} // namespace

void LibraryPodFixture::SetUp() {
    TunesLibraryFixture::SetUp();
    SetLibraryPlayListName(AString(kLibraryPlayListName));
    LibraryTools::Install();
    ADirSong::SetToolActionPresenter(&toolPresenter);
    fs::create_directories(PodRoot() + "/iPod_Control/iTunes");
    fs::create_directories(PodRoot() + "/iPod_Control/Music");
    fs::copy_file(std::string(ORVANTIS_FIXTURES) + "/ipod/gpod-empty.itdb",
                  PodRoot() + "/iPod_Control/iTunes/iTunesDB");
    WritePodPrefs(false, 0);
}

void LibraryPodFixture::TearDown() {
    ADirSong::SetToolActionPresenter(nullptr);
    TunesLibraryFixture::TearDown();
}

std::string LibraryPodFixture::AddLibrarySong(const char* artist, const char* album, const char* title,
                                              const char* track) {
    const std::string path = dir.File(std::string("songs/") + title + ".mp3");
    WriteSongFile(path, MakeMp3(SongTags("Rock", artist, album, title, track)));
    AddToLibrary({path});
    return path;
}

void LibraryPodFixture::RemoveLibrarySong(const std::string& path) {
    ChangeLibrarySong(path, [](itunesapp::Track& track) { return track.Delete(); });
}

void LibraryPodFixture::ChangeLibrarySong(const std::string& path,
                                          const std::function<itunesapp::Status(itunesapp::Track&)>& change) {
    std::shared_ptr<Application> app;
    std::shared_ptr<Playlist> library;
    std::shared_ptr<TrackCollection> tracks;
    int32_t count = 0;
    ASSERT_EQ(Application::Create(app), Status::Ok);
    ASSERT_EQ(app->GetLibraryPlaylist(library), Status::Ok);
    ASSERT_EQ(library->GetTracks(tracks), Status::Ok);
    ASSERT_EQ(tracks->GetCount(count), Status::Ok);
    for (int32_t i = 1; i <= count; ++i) {
        std::shared_ptr<Track> track;
        std::string location;
        ASSERT_EQ(tracks->GetItem(i, track), Status::Ok);
        if (track->GetLocation(location) == Status::Ok && location == path) {
            ASSERT_EQ(change(*track), Status::Ok);
            return;
        }
    }
    FAIL() << "no track of " << path;
}

bool LibraryPodFixture::PreparePodWithGpod(const char* model) {
#ifdef ORVANTIS_WITH_GPOD
    fs::remove_all(PodRoot());
    fs::create_directories(PodRoot());
    return MakePodWithGpod(PodRoot(), model, "Gpod iPod");
#else
    (void)model;
    return false;
#endif
}

void LibraryPodFixture::WritePodPrefs(bool automaticUpdate, uint64_t libraryId) const {
    std::string bytes(kPrefsSize, '\0');
    bytes[kAutoUpdateOffset] = automaticUpdate ? 1 : 0;
    for (int i = 0; i < 8; ++i)
        bytes[kLibraryIdOffset + i] = static_cast<char>(libraryId >> (8 * i));
    std::ofstream(PrefsFile(PodRoot()), std::ios::binary) << bytes;
}

uint64_t LibraryPodFixture::PodLibraryId() const {
    AFile prefs;
    uint64_t id = 0;
    EXPECT_EQ(prefs.Open(AString(PrefsFile(PodRoot()).c_str()), AFile::kModeRead, false), 0);
    EXPECT_EQ(prefs.Seek(kLibraryIdOffset), 0);
    EXPECT_EQ(recordio::ReadU64(prefs, id), 0);
    return id;
}

std::unique_ptr<ASyncLib> LibraryPodFixture::MakeSync(uint32_t direction, uint32_t deleteMode) {
    auto sync = std::make_unique<ASyncLib>(ADir::kTypeTunes, ADir::kTypePodDB, &progress);
    sync->SetDirection(direction);
    sync->SetDeleteMode(deleteMode);
    sync->SetPresenter(&presenter);
    const AString libraryRoot(ADirTunes::kRootMarker);
    const AString podRoot(PodRoot().c_str());
    sync->BuildList1(&libraryRoot, CancelCallback(), false, false);
    sync->BuildList2(&podRoot, CancelCallback(), false, false);
    return sync;
}

int LibraryPodFixture::Run(ASyncLib& sync, const CancelCallback& cancel) {
    shown.clear();
    user.messages.clear();
    return sync.Sync(cancel, ASync::kBuildList1 | ASync::kBuildList2, false);
}

std::multimap<std::string, std::string> LibraryPodFixture::TracksOnPod() const {
    ITunesDB db;
    const AString drive(PodRoot().c_str());
    EXPECT_EQ(db.ReadLibrary(&drive, true, nullptr, nullptr), 0);
    std::multimap<std::string, std::string> tracks;
    if (const ITunesDBTrackList* list = db.GetRoot().GetTrackList()) {
        list->ForEachTrack([&](ITunesDBTrack& track) {
            tracks.emplace(track.GetTitle().ToUtf8(), track.GetPath().ToUtf8());
        });
    }
    return tracks;
}

std::set<std::string> LibraryPodFixture::FilesInPodMusic() const {
    std::set<std::string> files;
    const fs::path music = PodRoot() + "/iPod_Control/Music";
    if (!fs::exists(music))
        return files;
    for (const auto& item : fs::recursive_directory_iterator(music)) {
        if (item.is_regular_file())
            files.insert("/" + fs::relative(item.path(), PodRoot()).string());
    }
    return files;
}

std::vector<std::string> LibraryPodFixture::ShownActions(const ASync& sync, const SyncActionTexts& texts) {
    std::vector<std::string> lines;
    for (int i = 0; i < sync.GetActionCount(); ++i) {
        const SyncAction& action = *sync.GetAction(i);
        lines.push_back(texts.texts[action.displayIndex].ToUtf8() + " | " + action.text1.ToUtf8() + " | " +
                        action.text2.ToUtf8());
    }
    return lines;
}

bool ReadPodWithGpod(const std::string& mountPoint, std::map<std::string, std::string>& files) {
#ifdef ORVANTIS_WITH_GPOD
    files = ReadWithGpod(mountPoint).files;
    return true;
#else
    (void)mountPoint;
    (void)files;
    return false;
#endif
}
