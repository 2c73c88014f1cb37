// "Make iPod equal to iTunes" through the sync set as the program builds it for a device, with nothing
// made by our own code: an iPod that libgpod prepared (no "iTunesPrefs"), a library file written as
// the music application writes it, and song files tagged by outside tools whose tags say other names
// than the library's records (an ID3v2.4 tag with an album artist beside the artist among them). The
// first run fills the iPod, libgpod reads every track, and a second run finds nothing to do.

#include "GpodView.h"
#include "app/devices/DeviceSyncSet.h"
#include "foundation/AProgress.h"
#include "harness/AppTestHome.h"
#include "library/songlists/ADirPodDB.h"
#include "support/AStringPrinting.h"
#include "support/RecordingUserInterface.h"
#include "support/ScopedTimeZone.h"
#include "sync/ASync.h"
#include "sync/HeadlessActionPresenter.h"
#include "sync/SyncModeTables.h"

#include <QString>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <ctime>

namespace fs = std::filesystem;

namespace {

constexpr const char* kPodName = "Gpod Set iPod";

struct LibrarySong {
    const char* fixture;
    const char* name;
    const char* artist;
    const char* album;
    int trackNumber;
    const char* kind;
};

// The library's records: names the user gave the songs in the music application, none as the tags say.
constexpr LibrarySong kSongs[] = {
    {"v24_mutagen.mp3", "Record One", "Record Artist", "Record Album", 1, "MPEG audio file"},
    {"v23_eyed3_extended.mp3", "Record Two", "Record Artist", "Record Album", 2, "MPEG audio file"},
    {"id3v1_only.mp3", "Record Three", "Other Artist", "Other Album", 3, "MPEG audio file"},
    {"vbr_mpeg1.mp3", "Record Four", "Other Artist", "Other Album", 4, "MPEG audio file"},
    {"mp4_atomicparsley.m4a", "Record Five", "MP4 Record Artist", "Record Album", 5, "AAC audio file"},
};

std::string XmlText(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped().toStdString();
}

std::string FileUrl(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded).toStdString();
}

class SyncSetGpodPod : public testing::Test {
protected:
    void SetUp() override {
        for (const LibrarySong& song : kSongs) {
            const std::string path = home.Folder().File(std::string("Music files/") + song.fixture);
            fs::create_directories(fs::path(path).parent_path());
            fs::copy_file(std::string(ORVANTIS_FIXTURES) + "/tags/" + song.fixture, path);
            songFiles.push_back(path);
        }
        WriteLibraryFile();
        pod = home.Folder().File("GPODSET");
        fs::create_directories(pod);
        ASSERT_TRUE(MakePodWithGpod(pod, "MA147", kPodName));
        ASSERT_FALSE(fs::exists(pod + "/iPod_Control/iTunes/iTunesPrefs"));
        home.MountVolume(pod);
    }

    // "iTunes Music Library.xml" as the music application writes it.
    void WriteLibraryFile() const {
        const std::string folder = home.Folder().File("XDG_MUSIC_DIR/iTunes");
        fs::create_directories(folder + "/iTunes Music");
        std::ofstream xml(folder + "/iTunes Music Library.xml");
        xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
               "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
               "<plist version=\"1.0\">\n<dict>\n"
               "\t<key>Major Version</key><integer>1</integer>\n"
               "\t<key>Minor Version</key><integer>1</integer>\n"
               "\t<key>Application Version</key><string>7.7.1</string>\n"
               "\t<key>Music Folder</key><string>"
            << FileUrl(folder + "/iTunes Music") << "/</string>\n"
            << "\t<key>Library Persistent ID</key><string>5A1E0C2B3D4F6789</string>\n"
               "\t<key>Tracks</key>\n\t<dict>\n";
        for (size_t i = 0; i < songFiles.size(); ++i) {
            const LibrarySong& song = kSongs[i];
            const int id = 100 + static_cast<int>(i);
            xml << "\t\t<key>" << id << "</key>\n\t\t<dict>\n"
                << "\t\t\t<key>Track ID</key><integer>" << id << "</integer>\n"
                << "\t\t\t<key>Name</key><string>" << XmlText(song.name) << "</string>\n"
                << "\t\t\t<key>Artist</key><string>" << XmlText(song.artist) << "</string>\n"
                << "\t\t\t<key>Album</key><string>" << XmlText(song.album) << "</string>\n"
                << "\t\t\t<key>Genre</key><string>Library Genre</string>\n"
                << "\t\t\t<key>Kind</key><string>" << song.kind << "</string>\n"
                << "\t\t\t<key>Size</key><integer>" << fs::file_size(songFiles[i]) << "</integer>\n"
                << "\t\t\t<key>Total Time</key><integer>1500</integer>\n"
                << "\t\t\t<key>Track Number</key><integer>" << song.trackNumber << "</integer>\n"
                << "\t\t\t<key>Date Modified</key><date>2008-07-01T12:00:00Z</date>\n"
                << "\t\t\t<key>Date Added</key><date>2008-07-01T12:00:00Z</date>\n"
                << "\t\t\t<key>Persistent ID</key><string>00000000000000" << std::hex << id << std::dec
                << "</string>\n"
                << "\t\t\t<key>Track Type</key><string>File</string>\n"
                << "\t\t\t<key>Location</key><string>" << FileUrl(songFiles[i]) << "</string>\n"
                << "\t\t\t<key>File Folder Count</key><integer>-1</integer>\n"
                << "\t\t\t<key>Library Folder Count</key><integer>-1</integer>\n"
                << "\t\t</dict>\n";
        }
        xml << "\t</dict>\n\t<key>Playlists</key>\n\t<array>\n\t\t<dict>\n"
               "\t\t\t<key>Name</key><string>Library</string>\n"
               "\t\t\t<key>Master</key><true/>\n"
               "\t\t\t<key>Playlist ID</key><integer>300</integer>\n"
               "\t\t\t<key>Playlist Persistent ID</key><string>5A1E0C2B3D4F0001</string>\n"
               "\t\t\t<key>Visible</key><false/>\n"
               "\t\t\t<key>All Items</key><true/>\n"
               "\t\t\t<key>Playlist Items</key>\n\t\t\t<array>\n";
        for (size_t i = 0; i < songFiles.size(); ++i)
            xml << "\t\t\t\t<dict>\n\t\t\t\t\t<key>Track ID</key><integer>" << 100 + i
                << "</integer>\n\t\t\t\t</dict>\n";
        xml << "\t\t\t</array>\n\t\t</dict>\n\t</array>\n</dict>\n</plist>\n";
    }

    // The chooser's entry for the iPod, named by its identifier as the program names it.
    DeviceSyncSet::Device Pod() const {
        ADirPodDB probe;
        probe.SetRootPath(AString::FromUtf8(pod));
        return {ChooserKind::PodDatabase, probe.GetPodID(), AString(kPodName), AString::FromUtf8(pod), 4};
    }

    std::set<std::string> MusicFiles() const {
        std::set<std::string> files;
        for (const auto& item : fs::recursive_directory_iterator(pod + "/iPod_Control/Music"))
            if (item.is_regular_file())
                files.insert(item.path().string());
        return files;
    }

    // The song files whose bytes the files libgpod finds for the iPod's tracks hold.
    std::multiset<std::string> SongsLibgpodFinds(const GpodView& view) const {
        std::multiset<std::string> found;
        for (const auto& [title, file] : view.files) {
            for (const std::string& song : songFiles) {
                if (!file.empty() && ReadBytes(file) == ReadBytes(song))
                    found.insert(fs::path(song).filename().string());
            }
        }
        return found;
    }

    AppTestHome home;
    RecordingUserInterface user;
    AProgress progress;
    std::vector<std::string> songFiles;
    std::string pod;
    int actionsShown = -1;
    HeadlessActionPresenter presenter{[this](ASync& sync, const SyncActionTexts&) {
        actionsShown = sync.GetActionCount();
        return true;
    }};
};

} // namespace

TEST_F(SyncSetGpodPod, TheFirstRunFillsTheIPodAndTheSecondFindsNothingToDo) {
    // The iPod counts its times on the local calendar: a zone away from UTC shows a wrong offset.
    const ScopedTimeZone newYork("EST5EDT,M3.2.0,M11.1.0");
    DeviceSyncSet syncSet(&progress, nullptr, AString::FromUtf8(home.DataFolder()));
    syncSet.SetSeams(&presenter, nullptr);
    const DeviceSyncSet::Device device = Pod();
    QString message;
    ASSERT_EQ(syncSet.LoadRecent(&device, kModeMake2Equal1, message), 0) << message.toStdString();

    const time_t started = time(nullptr);
    ASSERT_EQ(syncSet.Set().Run(CancelCallback()), 0) << progress.PendingLog().ToUtf8();
    const time_t ended = time(nullptr);
    EXPECT_EQ(actionsShown, static_cast<int>(std::size(kSongs)));
    const GpodView first = ReadWithGpod(pod);
    EXPECT_EQ(first.files.size(), std::size(kSongs));
    std::multiset<std::string> expected;
    for (const LibrarySong& song : kSongs) {
        expected.insert(song.fixture);
        EXPECT_TRUE(first.files.count(song.name)) << song.name;
        const auto added = first.added.find(song.name);
        ASSERT_NE(added, first.added.end()) << song.name;
        EXPECT_GE(added->second, started - 2) << song.name;
        EXPECT_LE(added->second, ended + 2) << song.name;
    }
    EXPECT_EQ(SongsLibgpodFinds(first), expected);
    const std::vector<uint8_t> database = ReadBytes(pod + "/iPod_Control/iTunes/iTunesDB");
    const std::set<std::string> files = MusicFiles();
    EXPECT_EQ(files.size(), std::size(kSongs));

    actionsShown = -1;
    ASSERT_EQ(syncSet.Set().Run(CancelCallback()), 0) << progress.PendingLog().ToUtf8();
    EXPECT_EQ(actionsShown, -1) << "the second run showed actions";
    EXPECT_EQ(ReadBytes(pod + "/iPod_Control/iTunes/iTunesDB"), database);
    EXPECT_EQ(MusicFiles(), files);
    EXPECT_EQ(SongsLibgpodFinds(ReadWithGpod(pod)), expected);
    EXPECT_FALSE(fs::exists(pod + "/iPod_Control/iTunes/iTunesPrefs"));
}
