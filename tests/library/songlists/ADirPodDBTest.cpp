#include "library/songlists/ADirPodDB.h"

#include "foundation/ACrc32.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBPlayList.h"
#include "library/ipod/ITunesDBTrack.h"
#include "library/ipod/ITunesDBTrackList.h"
#include "library/songlists/ADirPlayListsPod.h"
#include "library/songlists/AddFileSongInfo.h"
#include "library/songlists/TestSongFiles.h"
#include "library/tags/ID3.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"
#include "support/TextRecordingProgress.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The titles of the tracks of a database on a drive, each with its file below the drive.
std::multimap<std::string, std::string> TracksOnDrive(const std::string& root) {
    ITunesDB db;
    const AString drive(root);
    EXPECT_EQ(0, db.ReadLibrary(&drive, true, nullptr, nullptr));
    std::multimap<std::string, std::string> tracks;
    db.GetRoot().GetTrackList()->ForEachTrack(
        [&](ITunesDBTrack& track) { tracks.emplace(track.GetTitle().ToUtf8(), track.GetPath().ToUtf8()); });
    return tracks;
}

std::vector<std::string> FilesBelow(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(folder, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        if (it->is_regular_file())
            files.push_back(it->path().string().substr(folder.size()));
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A folder made a volume, laid out as an iPod whose database libgpod wrote: "My iPod" with Zeta (F00),
// Alpha (F01) and "Song (Live)" (F02, no artist, album or genre), and the playlist "Favourites" of
// "Song (Live)" and Zeta. The song files are ours, so their sizes differ from the database's.
class PodDBTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = drive.Path() + "/";
        fs::create_directories(drive.File("iPod_Control/iTunes"));
        WriteBytes(drive.File("iPod_Control/iTunes/iTunesDB"), FixtureBytes("ipod/gpod-three-tracks.itdb"));
        WriteSongFile(drive.File("iPod_Control/Music/F00/ZETA.mp3"), MakeMp3(SongTags("Rock", "Artist", "Album", "Zeta")));
        WriteSongFile(drive.File("iPod_Control/Music/F01/ALFA.m4a"), MakeMp4(SongTags("Rock", "Artist", "Album", "Alpha"), 64));
        untagged = MakeUntaggedMp3(4);
        WriteSongFile(drive.File("iPod_Control/Music/F02/SONG.mp3"), untagged);
        setenv("ORVANTIS_EXTRA_VOLUMES", drive.Path().c_str(), 1);
    }
    void TearDown() override { unsetenv("ORVANTIS_EXTRA_VOLUMES"); }

    void Open(ADirPodDB& list) {
        const AString path(root);
        ASSERT_EQ(0, list.Open(&path, 0, nullptr));
        list.Sort(1);
    }
    std::vector<std::string> Entries(ADirPodDB& list) {
        std::vector<std::string> entries;
        for (int i = 0; i < list.GetCount(); ++i)
            entries.push_back(EntryWithoutId(*list.GetEntry(i)).ToUtf8());
        return entries;
    }
    int IndexOf(ADirPodDB& list, const std::string& title) {
        for (int i = 0; i < list.GetCount(); ++i) {
            if (list.GetEntry(i)->Find(AString(title), 0, true) >= 0)
                return i;
        }
        return -1;
    }
    std::string NewSong(const char* name, const char* title, int frames = 4) {
        TestSongTags tags = SongTags("Jazz", "Band", "Live", title);
        tags.audioFrames = frames;
        const std::string path = songs.File(name);
        WriteSongFile(path, MakeMp3(tags));
        return path;
    }

    TempDir drive;
    TempDir songs;
    std::string root;
    std::vector<uint8_t> untagged;
};

TEST_F(PodDBTest, ListsTheTracksByTheirEntryTextsAndNamesTheirFiles) {
    ADirPodDB list;
    Open(list);
    const std::string size = std::to_string(untagged.size());
    EXPECT_EQ((std::vector<std::string>{"\\*\\" + size + "\\*\\Song (Live)\\mp3", "\\Rock\\Artist\\Album\\Alpha\\m4a",
                                        "\\Rock\\Artist\\Album\\Zeta\\mp3"}),
              Entries(list));
    AString description;
    EXPECT_EQ("iPod: My iPod Main Library", list.GetDescription(description, 0).ToUtf8());
    EXPECT_EQ("Main Library", list.GetDescription(description, 1).ToUtf8());
    EXPECT_EQ(root, list.GetRootPath().ToUtf8());

    const AString zeta = list.GetRootPath() + *list.GetEntry(2);
    AString path;
    ASSERT_EQ(0, list.GetFullPath(zeta, path, 1));
    EXPECT_EQ(drive.File("iPod_Control/Music/F00/ZETA.mp3"), path.ToUtf8());
    EXPECT_EQ(1u, list.FileExists(zeta));
    EXPECT_EQ(GetFileModTime(path), list.GetFileDate(zeta));
    AddFileSongInfo info;
    ASSERT_EQ(0, list.AddFile(zeta, info));
    EXPECT_EQ(128u, info.bitRate);
    EXPECT_EQ(61u, info.duration);
    EXPECT_EQ(61, list.GetDuration(zeta));
    EXPECT_EQ(kErrorPodEntryNoPath, list.GetFullPath(AString("\\Rock\\Nobody\\Album\\Zeta\\mp3"), path, 0));
    EXPECT_EQ(kErrorPodEntryNoSong, list.AddFile(AString("\\Rock\\Nobody\\Album\\Zeta\\mp3"), info));

    // An extra volume has no serial number: the identifier is the checksum of the iPod's name.
    ACrc32 crc;
    crc.Update(AString("My iPod"));
    char expected[9];
    snprintf(expected, sizeof expected, "%08X", crc.GetValue());
    EXPECT_EQ(expected, list.GetPodID().ToUtf8());
}

TEST_F(PodDBTest, ListingNamesTheFolderReadingThenTheDatabaseReading) {
    TextRecordingProgress progress;
    ADirPodDB list(&progress);
    Open(list);
    const std::vector<AString> expected = {AString("Reading Directory..."), AString("Reading Directory Done!"),
                                           AString("Reading Library from iPod Database...")};
    ASSERT_LT(expected.size(), progress.texts.size());
    EXPECT_EQ(expected, std::vector<AString>(progress.texts.begin(), progress.texts.begin() + expected.size()));
}

TEST_F(PodDBTest, AVideoIPodKeepsItsVideoFiles) {
    ADirPodDB plain;
    plain.SetRootPath(AString(root));
    EXPECT_EQ(":mp3:m4p:m4a:m4b:aac:", plain.GetTypeList().ToUtf8());
    fs::create_directories(drive.File("iPod_Control/Device"));
    WriteText(drive.File("iPod_Control/Device/SysInfo"), "ModelNumStr: MA002\n");
    ADirPodDB video;
    video.SetRootPath(AString(root));
    video.SetRootPath(AString(root));
    EXPECT_EQ(":mp3:m4p:m4a:m4b:aac:m4v:mp4:ipg:", video.GetTypeList().ToUtf8());
}

TEST_F(PodDBTest, AVolumeWithoutDatabaseGetsNothingWritten) {
    TempDir plain;
    fs::create_directories(plain.File("iPod_Control/Music"));
    const std::vector<std::string> before = FilesBelow(plain.Path());
    ADirPodDB list;
    const AString path(plain.Path());
    EXPECT_NE(0, list.Open(&path, 0, nullptr));
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(kErrorNotReadForSave, list.AddSong(AString(NewSong("a.mp3", "A")), nullptr));
    EXPECT_EQ(0, list.SaveDatabase());
    EXPECT_EQ(before, FilesBelow(plain.Path()));
    EXPECT_FALSE(fs::exists(plain.File("iPod_Control/iTunes")));
}

TEST_F(PodDBTest, CopiedSongsGoIntoMusicFoldersAndReachTheDatabaseAtTheSave) {
    ADirPodDB list;
    Open(list);
    const std::vector<uint8_t> database = ReadBytes(drive.File("iPod_Control/iTunes/iTunesDB"));
    ASSERT_EQ(0, list.AddSong(AString(NewSong("one.mp3", "One")), nullptr));
    const AString untitled(NewSong("two.mp3", ""));
    const AString name("Given Name");
    ASSERT_EQ(0, list.CopySongToPod(untitled, &name, nullptr));
    EXPECT_EQ(kErrorDuplicate, list.AddSong(AString(songs.File("one.mp3")), nullptr));
    EXPECT_EQ(database, ReadBytes(drive.File("iPod_Control/iTunes/iTunesDB")));

    ASSERT_EQ(0, list.SaveDatabase());
    const auto tracks = TracksOnDrive(drive.Path());
    ASSERT_EQ(5u, tracks.size());
    const std::regex copied("/iPod_Control/Music/F[0-9]{2}/[A-Z]{4}\\.mp3");
    for (const char* title : {"One", "Given Name"}) {
        ASSERT_EQ(1u, tracks.count(title)) << title;
        const std::string file = tracks.find(title)->second;
        EXPECT_TRUE(std::regex_match(file, copied)) << file;
        EXPECT_TRUE(fs::exists(drive.Path() + file)) << file;
    }
    EXPECT_TRUE(fs::exists(drive.File("iPod_Control/iTunes/iTunesSD")));
    EXPECT_EQ(5u, FilesBelow(drive.File("iPod_Control/Music")).size());
    EXPECT_FALSE(fs::exists(drive.File("iPod_Control/iTunes/iTunesPrefs")));

    // Nothing changed since: nothing is written.
    const auto written = fs::last_write_time(drive.File("iPod_Control/iTunes/iTunesDB"));
    const std::vector<uint8_t> saved = ReadBytes(drive.File("iPod_Control/iTunes/iTunesDB"));
    ASSERT_EQ(0, list.SaveDatabase());
    EXPECT_EQ(saved, ReadBytes(drive.File("iPod_Control/iTunes/iTunesDB")));
    EXPECT_EQ(written, fs::last_write_time(drive.File("iPod_Control/iTunes/iTunesDB")));
}

TEST_F(PodDBTest, ASongThatCannotBeReadIsNotCopied) {
    ADirPodDB list;
    Open(list);
    EXPECT_NE(0, list.AddSong(AString(songs.File("missing.mp3")), nullptr));
    EXPECT_EQ(3u, FilesBelow(drive.File("iPod_Control/Music")).size());
    EXPECT_EQ(0, list.SaveDatabase());
}

TEST(ADirPodDBNames, FileNamesAreFourLettersOfTheSeed) {
    const struct {
        uint32_t n;
        const char* letters;
        const char* fileName;
    } cases[] = {
        {0, "A", "AAAA"},       {1, "B", "AAAB"},         {25, "Z", "AAAZ"},          {26, "BA", "AABA"},
        {27, "BB", "AABB"},     {456975, "ZZZZ", "ZZZZ"}, {456976, "BAAAA", "AAAA"}, {456977, "BAAAB", "AAAB"},
        {0xFFFFFF, "BKSOJN", "SOJN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.letters, ADirPodDB::MakeLetterName(c.n).ToUtf8()) << c.n;
        EXPECT_EQ(c.fileName, ADirPodDB::MakeFileName(c.n).ToUtf8()) << c.n;
    }
}

TEST_F(PodDBTest, DeletingMovesTheFileToRemovedFilesAndTheTrackOut) {
    ADirPodDB list;
    Open(list);
    ASSERT_EQ(0, list.RemoveEntry(IndexOf(list, "Zeta"), 1, 0));
    EXPECT_FALSE(fs::exists(drive.File("iPod_Control/Music/F00/ZETA.mp3")));
    const std::vector<std::string> removed = FilesBelow(drive.File("Removed Files"));
    ASSERT_EQ(1u, removed.size());
    EXPECT_NE(std::string::npos, removed[0].find("Zeta.mp3")) << removed[0];

    // A track whose file is gone leaves alone.
    fs::remove(drive.File("iPod_Control/Music/F01/ALFA.m4a"));
    const AString alpha = *list.GetEntry(IndexOf(list, "Alpha"));
    EXPECT_EQ(0, list.DeleteFile(alpha, 1, 0));
    EXPECT_EQ(kErrorPodEntryNoDelete, list.DeleteFile(alpha, 1, 0));

    ASSERT_EQ(0, list.SaveDatabase());
    EXPECT_EQ((std::multimap<std::string, std::string>{{"Song (Live)", "/iPod_Control/Music/F02/SONG.mp3"}}),
              TracksOnDrive(drive.Path()));
    ITunesDB db;
    const AString path(root);
    ASSERT_EQ(0, db.ReadLibrary(&path, true, nullptr, nullptr));
    ASSERT_EQ(1, db.GetPlayListCount());
    EXPECT_EQ(1, db.GetPlayList(0, 2)->GetItemCount());
}

TEST_F(PodDBTest, AFileThatCannotBeRemovedKeepsItsTrack) {
    WriteText(drive.File("Removed Files"), "a file where the folder would go");
    ADirPodDB list;
    Open(list);
    const AString zeta = *list.GetEntry(IndexOf(list, "Zeta"));
    EXPECT_NE(0, list.DeleteFile(zeta, 1, 0));
    EXPECT_TRUE(fs::exists(drive.File("iPod_Control/Music/F00/ZETA.mp3")));
    AString path;
    EXPECT_EQ(0, list.GetFullPath(zeta, path, 1));
    EXPECT_EQ(0, list.SaveDatabase());
    EXPECT_EQ(3u, TracksOnDrive(drive.Path()).size());
}

TEST_F(PodDBTest, AReplacedFileGivesItsTrackTheNewSizeLengthAndBitRate) {
    ADirPodDB list;
    Open(list);
    const AString zeta = list.GetRootPath() + *list.GetEntry(IndexOf(list, "Zeta"));
    AString target;
    ASSERT_EQ(0, list.GetFullPath(zeta, target, 1));
    TestSongTags tags = SongTags("Rock", "Artist", "Album", "Zeta");
    tags.audioFrames = 400;
    WriteSongFile(target.ToUtf8(), MakeMp3(tags));
    ID3 replaced;
    ASSERT_EQ(0, replaced.Read(target));
    ASSERT_EQ(0, list.SaveDatabase());

    ITunesDB db;
    const AString path(root);
    ASSERT_EQ(0, db.ReadLibrary(&path, true, nullptr, nullptr));
    db.SortEntries(true, nullptr);
    ITunesDBTrack* track = nullptr;
    ASSERT_EQ(1, db.FindTrack(&track, AString("\\Artist\\Album\\Zeta"), false));
    EXPECT_EQ(fs::file_size(target.ToUtf8()), track->GetFileSize());
    EXPECT_EQ(replaced.GetDuration(), track->GetDurationSeconds());
    EXPECT_EQ(replaced.GetBitRate(), track->GetBitRate());
    // A track whose file was never named for a copy keeps what the database said.
    ASSERT_EQ(1, db.FindTrack(&track, AString("\\Artist\\Album\\Alpha"), false));
    EXPECT_EQ(2000u, track->GetFileSize());
}

TEST_F(PodDBTest, AFailedSaveIsTheResultAndIsTriedAgain) {
    ADirPodDB list;
    Open(list);
    ASSERT_EQ(0, list.AddSong(AString(NewSong("one.mp3", "One")), nullptr));
    fs::rename(drive.File("iPod_Control/iTunes"), drive.File("iPod_Control/elsewhere"));
    WriteText(drive.File("iPod_Control/iTunes"), "not a folder");
    EXPECT_NE(0, list.SaveDatabase());
    fs::remove(drive.File("iPod_Control/iTunes"));
    fs::rename(drive.File("iPod_Control/elsewhere"), drive.File("iPod_Control/iTunes"));
    ASSERT_EQ(0, list.SaveDatabase());
    EXPECT_EQ(1u, TracksOnDrive(drive.Path()).count("One"));
}

TEST_F(PodDBTest, TheRecordRoundTripsButNeverReplacesTheDrivesDatabase) {
    ADirPodDB list;
    Open(list);
    list.SetWorkFolder(AString(songs.Path()));
    AMemFile stream;
    ASSERT_EQ(0, list.Save(stream, 0));
    stream.Seek(0);
    ADirPodDB loaded;
    ASSERT_EQ(0, loaded.Load(stream, 0));
    EXPECT_EQ(list.GetRootPath(), loaded.GetRootPath());
    EXPECT_EQ(list.GetPodID(), loaded.GetPodID());
    AString a, b;
    EXPECT_EQ(list.GetDescription(a, 0), loaded.GetDescription(b, 0));
    loaded.Sort(1);
    EXPECT_EQ(Entries(list), Entries(loaded));

    const AString zeta = *loaded.GetEntry(IndexOf(loaded, "Zeta"));
    loaded.SetKeepRemovedFiles(0);
    ASSERT_EQ(0, loaded.DeleteFile(zeta, 1, 0));
    EXPECT_EQ(kErrorNotReadForSave, loaded.SaveDatabase());
    EXPECT_EQ(3u, TracksOnDrive(drive.Path()).size());

    const uint8_t otherVersion[] = {0x02, 0x00, 0x10, 0x00};
    AMemFile wrong(otherVersion, sizeof otherVersion);
    EXPECT_EQ(kErrorVersion, loaded.Load(wrong, 0));
}

// The list's entries come from the database; the files below the music folder are carried in its
// record, each with its time.
TEST_F(PodDBTest, TheRecordCarriesTheFilesOfTheMusicFolder) {
    ADirPodDB list;
    Open(list);
    AMemFile stream;
    ASSERT_EQ(0, list.Save(stream, 0));
    // The folder list is the base record inside the song list's record, after the two version words.
    struct FolderRecord : ADir {
        std::map<std::string, uint64_t> Files() const {
            std::map<std::string, uint64_t> files;
            for (int i = 0; i < m_entries.GetCount(); ++i)
                files[m_entries.GetName(i).ToUtf8()] = m_entries.GetModTime(i);
            return files;
        }
    } folder;
    ASSERT_EQ(0, stream.Seek(8));
    ASSERT_EQ(0, folder.Load(stream, 0));
    std::map<std::string, uint64_t> expected;
    for (const char* file : {"F00", "F00/ZETA.mp3", "F01", "F01/ALFA.m4a", "F02", "F02/SONG.mp3"})
        expected[file] = GetFileModTime(AString(drive.File(std::string("iPod_Control/Music/") + file)));
    EXPECT_EQ(expected, folder.Files());
}

// A sync set is saved with its lists also when the iPod was unplugged after the listing.
TEST_F(PodDBTest, TheRecordIsWrittenWhenTheIPodIsGoneAfterTheListing) {
    ADirPodDB list;
    Open(list);
    fs::remove_all(drive.File("iPod_Control"));
    AMemFile stream;
    ASSERT_EQ(0, list.Save(stream, 0));
    ASSERT_EQ(0, stream.Seek(0));
    ADirPodDB loaded;
    ASSERT_EQ(0, loaded.Load(stream, 0));
    EXPECT_EQ(list.GetPodID(), loaded.GetPodID());
    loaded.Sort(1);
    EXPECT_EQ(3, loaded.GetCount());
}

TEST_F(PodDBTest, AnIPodWithoutMusicFolderIsNotListed) {
    fs::remove_all(drive.File("iPod_Control/Music"));
    ADirPodDB list;
    const AString path(root);
    EXPECT_EQ(kErrorInvalidPath, list.Open(&path, 0, nullptr));
}

// A list that only knows its iPod (the root given, nothing listed yet) is what a new sync set holds.
TEST_F(PodDBTest, AListThatOnlyKnowsItsIPodIsSavedWithItsIdentifier) {
    ADirPodDB list;
    list.SetRootPath(AString(root));
    const AString id = list.GetPodID();
    EXPECT_EQ(list.GetPodName(), AString("My iPod"));
    AMemFile stream;
    ASSERT_EQ(0, list.Save(stream, 0));
    stream.Seek(0);
    ADirPodDB loaded;
    ASSERT_EQ(0, loaded.Load(stream, 0));
    EXPECT_EQ(loaded.GetPodID(), id);
    EXPECT_EQ(loaded.GetRootPath(), list.GetRootPath());
}

// A copy killed after its files reached the iPod and before the database did, run again, ends with
// every song once; what the killed run copied is left for the orphan scan.
TEST_F(PodDBTest, ACopyKilledBeforeTheSaveAndRunAgainHoldsEverySongOnce) {
    const std::vector<std::string> files = {NewSong("a.mp3", "A"), NewSong("b.mp3", "B"), NewSong("c.mp3", "C")};
    const auto copyAll = [&](ADirPodDB& list) {
        for (const std::string& file : files)
            ASSERT_EQ(0, list.AddSong(AString(file), nullptr));
    };
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ADirPodDB list;
        Open(list);
        copyAll(list);
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(6u, FilesBelow(drive.File("iPod_Control/Music")).size());
    ASSERT_EQ(3u, TracksOnDrive(drive.Path()).size());

    ADirPodDB list;
    Open(list);
    copyAll(list);
    ASSERT_EQ(0, list.SaveDatabase());
    const auto tracks = TracksOnDrive(drive.Path());
    std::set<std::string> named;
    for (const char* title : {"A", "B", "C"})
        EXPECT_EQ(1u, tracks.count(title)) << title;
    for (const auto& [title, file] : tracks)
        named.insert(file);
    std::vector<std::string> orphans;
    for (const std::string& file : FilesBelow(drive.File("iPod_Control/Music"))) {
        if (!named.contains("/iPod_Control/Music" + file))
            orphans.push_back(file);
    }
    EXPECT_EQ(3u, orphans.size());
}

TEST_F(PodDBTest, ThePlaylistListOfTheIPodStandsOnIt) {
    ADirPodDB pod;
    Open(pod);
    ADirPlayListsPod playLists;
    playLists.SetPod(&pod);
    EXPECT_EQ("IPOD_PLAYLISTS " + root, playLists.GetRootPath().ToUtf8());
    AString description;
    EXPECT_EQ("iPod Playlist", playLists.GetDescription(description, 0).ToUtf8());
    // The iPod's own files make no playlists.
    EXPECT_EQ(kErrorEndOfStream, playLists.CreatePlayList(playLists.GetRootPath() + "\\Party?3"));
    EXPECT_EQ(0, playLists.CreatePlayList(playLists.GetRootPath() + "\\?3"));
    playLists.AddEntry(AString("Favourites"), 0);
    AMemFile stream;
    ASSERT_EQ(0, playLists.Save(stream, 0));
    stream.Seek(0);
    ADirPlayListsPod loaded;
    ASSERT_EQ(0, loaded.Load(stream, 0));
    EXPECT_EQ(playLists.GetRootPath(), loaded.GetRootPath());
    EXPECT_EQ("Favourites", loaded.GetEntry(0)->ToUtf8());
}

} // namespace
