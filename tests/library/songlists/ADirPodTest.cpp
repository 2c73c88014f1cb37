#include "library/songlists/ADirPod.h"

#include "foundation/ACrc32.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/entries/EntryText.h"
#include "library/ipod/IPod.h"
#include "library/ipod/PodSourceFixture.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/songlists/ADirPlayListsPod.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/AddFileSongInfo.h"
#include "library/songlists/TestSongFiles.h"
#include "library/tools/HeadlessToolActionPresenter.h"
#include "library/tools/LibraryTools.h"
#include "support/AStringPrinting.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> EntriesWithoutIDs(ADir& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetCount(); ++i)
        entries.push_back(EntryWithoutId(*list.GetEntry(i)).ToUtf8());
    return entries;
}

int IndexOf(ADir& list, const char* title) {
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.GetEntry(i)->Find(AString(title), 0, true) >= 0)
            return i;
    }
    return -1;
}

std::string Description(ADir& list, uint32_t noPrefix) {
    AString text;
    return list.GetDescription(text, noPrefix).ToUtf8();
}

class ADirPodTest : public PodSourceFixture {
protected:
    int Open(ADirPod& list, const char* playList = "") {
        list.SetPlayListName(AString(playList));
        const AString root = ADirPod::RootOf(AString(kPodName));
        const int result = list.Open(&root, 0, nullptr);
        list.Sort(1);
        return result;
    }
    std::string Drive() const { return mountPoint + "/"; }
    std::string FileOf(ADirPod& list, const char* title) {
        AString path;
        const int index = IndexOf(list, title);
        EXPECT_GE(index, 0) << title;
        if (index >= 0) {
            EXPECT_EQ(0, list.GetFullPath(*list.GetEntry(index), path, 1));
        }
        return path.ToUtf8();
    }
};

TEST_F(ADirPodTest, TheIPodListsTheEntriesItsOwnDatabaseListGives) {
    ADirPod list;
    ASSERT_EQ(0, Open(list));
    ADirPodDB database;
    const AString drive(Drive());
    ASSERT_EQ(0, database.Open(&drive, 0, nullptr));
    database.Sort(1);
    EXPECT_EQ(3, list.GetCount());
    EXPECT_EQ(EntriesWithoutIDs(database), EntriesWithoutIDs(list));
    for (int i = 0; i < list.GetCount(); ++i) {
        const AString entry = *list.GetEntry(i);
        AString byID;
        AString byPath;
        AString fromDatabase;
        ASSERT_EQ(0, list.GetFullPath(entry, byID, 1));
        ASSERT_EQ(0, list.GetFullPath(list.GetRootPath() + entry, byPath, 0));
        ASSERT_EQ(0, database.GetFullPath(*database.GetEntry(i), fromDatabase, 1));
        EXPECT_EQ(byID, byPath);
        EXPECT_EQ(fromDatabase, byID);
        EXPECT_EQ(1u, list.FileExists(entry));
        EXPECT_EQ(GetFileModTime(byID), list.GetFileDate(entry));
    }
    EXPECT_EQ("iPod: My iPod Main Library", Description(list, 0));
    EXPECT_EQ("My iPod", list.GetPodNameFromRoot());
    ACrc32 crc;
    crc.Update(AString(kPodName));
    char identifier[9];
    std::snprintf(identifier, sizeof identifier, "%08X", crc.GetValue());
    EXPECT_EQ(identifier, list.GetPodID());
    EXPECT_EQ(database.GetPodID(), list.GetPodID());
    AString musicFolder;
    list.GetMusicFolder(musicFolder);
    EXPECT_EQ(AString(Drive()), musicFolder);
    EXPECT_EQ(AString(Drive()), list.GetRemovedFilesFolder());
}

TEST_F(ADirPodTest, APlayListOfTheIPodIsAListOfItsOwn) {
    ADirPod list;
    ASSERT_EQ(0, Open(list, "Favourites"));
    EXPECT_EQ(
        (std::vector<std::string>{"\\*\\1668\\*\\Song (Live)\\mp3", "\\Rock\\Artist\\Album\\Zeta\\mp3"}),
        EntriesWithoutIDs(list));
    EXPECT_EQ("iPod: My iPod Playlist: Favourites", Description(list, 0));
    EXPECT_EQ("Playlist: Favourites", Description(list, 1));
    EXPECT_EQ(0, list.IsPlayListReadOnly());
    std::vector<AString> names;
    ASSERT_EQ(0, list.GetPlayListNames(names, 0, 0));
    EXPECT_EQ(std::vector<AString>{AString("Favourites")}, names);

    ADirPod missing;
    EXPECT_EQ(kErrorInvalidPlayList, Open(missing, "favourites"));
    EXPECT_EQ(0, missing.GetCount());
}

// The song is removed from the playlist only: the iPod keeps it, and its file stays.
TEST_F(ADirPodTest, DeletingFromAPlayListLeavesTheSongOnTheIPod) {
    ADirPod list;
    ASSERT_EQ(0, Open(list, "Favourites"));
    const std::string zeta = FileOf(list, "Zeta");
    ASSERT_EQ(0, list.DeleteFile(*list.GetEntry(IndexOf(list, "Zeta")), 1, 0));
    EXPECT_TRUE(fs::exists(zeta));
    ADirPod again;
    ASSERT_EQ(0, Open(again, "Favourites"));
    EXPECT_EQ(1, again.GetCount());
    EXPECT_LT(IndexOf(again, "Zeta"), 0);
    EXPECT_EQ(3u, TracksOnPod().size());
}

TEST_F(ADirPodTest, ACopiedSongGoesIntoAMusicFolderAndTheDatabase) {
    // A real iPod comes with its music folders made; the copy goes into one of them.
    fs::remove_all(PodFile("iPod_Control/Music/F01"));
    fs::remove_all(PodFile("iPod_Control/Music/F02"));
    ADirPod list;
    ASSERT_EQ(0, Open(list, "Favourites"));
    const std::string file = NewSong("new.mp3", "New");
    ASSERT_EQ(0, list.AddSong(AString(file), nullptr));
    EXPECT_TRUE(fs::exists(file));
    const auto tracks = TracksOnPod();
    ASSERT_EQ(4u, tracks.size());
    ASSERT_EQ("New", tracks[1].first);
    const std::string copy = tracks[1].second;
    EXPECT_TRUE(copy.starts_with("/iPod_Control/Music/F00/")) << copy;
    EXPECT_TRUE(fs::exists(mountPoint + copy));
    EXPECT_EQ(kErrorDuplicate, list.AddSong(AString(file), nullptr));

    ADirPod again;
    ASSERT_EQ(0, Open(again, "Favourites"));
    EXPECT_EQ(3, again.GetCount());
    EXPECT_EQ(mountPoint + copy, FileOf(again, "New"));
    const AString entry = *again.GetEntry(IndexOf(again, "New"));
    AddFileSongInfo info;
    info.bitRate = info.duration = 99;
    ASSERT_EQ(0, again.AddFile(entry, info));
    EXPECT_EQ(again.GetBitRate(entry), static_cast<int>(info.bitRate));
    EXPECT_EQ(again.GetDuration(entry), static_cast<int>(info.duration));
}

// The song that a library tool or a sync adds is the iPod's copy, with the playlists of the list.
TEST_F(ADirPodTest, AnAddedTrackGoesIntoTheListsPlayListsAndNamesTheCopy) {
    ADirPod list;
    ASSERT_EQ(0, Open(list, "Favourites"));
    ITunesPlayList* lastSync = nullptr;
    ASSERT_EQ(0, list.GetPod()->CreatePlayList(AString("Last Sync"), &lastSync));
    list.SetSecondPlayList(lastSync);
    list.SetAddState(1);
    const std::string file = NewSong("new.mp3", "New");
    AString kept;
    ASSERT_EQ(0, list.AddFileToLibrary(AString(file), kept, nullptr));
    EXPECT_NE(file, kept.ToUtf8());
    EXPECT_TRUE(kept.ToUtf8().starts_with(PodFile("iPod_Control/Music/")));
    EXPECT_EQ(0u, list.GetAddState());
    EXPECT_EQ(kErrorDuplicate, list.AddTrackFile(AString(file), nullptr));

    ADirPod lastSyncList;
    ASSERT_EQ(0, Open(lastSyncList, "Last Sync"));
    EXPECT_EQ(std::vector<std::string>{"\\Jazz\\Band\\Live\\New\\mp3"}, EntriesWithoutIDs(lastSyncList));
    ADirPod favourites;
    ASSERT_EQ(0, Open(favourites, "Favourites"));
    EXPECT_EQ(3, favourites.GetCount());
}

TEST_F(ADirPodTest, DeletingMovesTheFileToRemovedFilesAndTheTrackOut) {
    ADirPod list;
    ASSERT_EQ(0, Open(list));
    const std::string zeta = FileOf(list, "Zeta");
    ASSERT_EQ(0, list.DeleteFile(list.GetRootPath() + *list.GetEntry(IndexOf(list, "Zeta")), 1, 0));
    EXPECT_FALSE(fs::exists(zeta));
    EXPECT_EQ(std::vector<std::string>{"/Artist/Album/Zeta.mp3"}, FilesBelow(mountPoint + "/Removed Files"));
    const auto tracks = TracksOnPod();
    ASSERT_EQ(2u, tracks.size());
    EXPECT_EQ("Alpha", tracks[0].first);
    EXPECT_EQ("Song (Live)", tracks[1].first);
    EXPECT_EQ(kErrorEndOfStream, list.DeleteFile(list.GetRootPath() + "\\Nothing?99", 1, 0));
}

TEST_F(ADirPodTest, PlayListsAreMadeAndDeletedThroughThePlayListList) {
    ADirPod pod;
    ASSERT_EQ(0, Open(pod));
    ADirPlayListsPod playLists;
    playLists.SetPod(&pod);
    EXPECT_EQ("IPOD_PLAYLISTS " + pod.GetRootPath().ToUtf8(), playLists.GetRootPath().ToUtf8());
    EXPECT_EQ("iPod Playlist", Description(playLists, 0));
    ASSERT_EQ(0, playLists.CreatePlayList(playLists.GetRootPath() + "\\Party?3"));
    std::vector<AString> names;
    ASSERT_EQ(0, pod.GetPlayListNames(names, 1, 0));
    EXPECT_EQ((std::vector<AString>{AString("Favourites"), AString("Party")}), names);
    ASSERT_EQ(0, playLists.DeletePlayList(AString("Favourites")));
    names.clear();
    ASSERT_EQ(0, pod.GetPlayListNames(names, 1, 0));
    EXPECT_EQ(std::vector<AString>{AString("Party")}, names);
    EXPECT_EQ(3u, TracksOnPod().size());
}

TEST_F(ADirPodTest, TheRecordRoundTrips) {
    ADirPod list;
    list.SetTypeLevel(1);
    ASSERT_EQ(0, Open(list, "Favourites"));
    list.GetEntry(0);
    AMemFile stream;
    ASSERT_EQ(0, list.Save(stream, 0));
    stream.Seek(0);
    ADirPod loaded;
    ASSERT_EQ(0, loaded.Load(stream, 0));
    loaded.Sort(1);
    EXPECT_EQ(EntriesWithoutIDs(list), EntriesWithoutIDs(loaded));
    EXPECT_EQ(list.GetPodID(), loaded.GetPodID());
    EXPECT_EQ(list.GetRootPath(), loaded.GetRootPath());
    EXPECT_EQ(1u, loaded.GetTypeLevel());
    EXPECT_EQ(Description(list, 0), Description(loaded, 0));
    EXPECT_EQ(FileOf(list, "Zeta"), FileOf(loaded, "Zeta"));

    const uint8_t otherWord[] = {0x12, 0x27, 0, 0};
    AMemFile wrong(otherWord, sizeof otherWord);
    EXPECT_EQ(kErrorVersion, loaded.Load(wrong, 0));
}

TEST_F(ADirPodTest, SettingsAndTheIdentifierCarryOver) {
    ADirPod list;
    ASSERT_EQ(0, Open(list, "Favourites"));
    const AString identifier = list.GetPodID();
    list.Clear();
    EXPECT_EQ(identifier, list.GetPodID());

    ADirPodDB database;
    database.SetPodID(AString("0A1B2C3D"));
    database.SetTypeLevel(1);
    ADirPod fromDatabase;
    fromDatabase.SetPlayListName(AString("Kept"));
    fromDatabase.CopySettings(database);
    EXPECT_EQ("0A1B2C3D", fromDatabase.GetPodID());
    EXPECT_EQ(1u, fromDatabase.GetTypeLevel());
    AString playList;
    fromDatabase.GetPlayListName(playList);
    EXPECT_EQ("Kept", playList);
    ADirPod fromPod;
    fromPod.CopySettings(list);
    fromPod.GetPlayListName(playList);
    EXPECT_EQ("Favourites", playList);
    EXPECT_EQ(identifier, fromPod.GetPodID());
}

// Setting the root binds the list to its iPod without listing it: the identifier and the drive that
// removed songs go to are known; a root that names no mounted iPod keeps the identifier it had.
TEST_F(ADirPodTest, SettingTheRootFindsTheIPodsIdentifierAndDrive) {
    ADirPod list;
    list.SetRemovedFilesFolder(dir.Text("unmounted/elsewhere"));
    list.SetRootPath(ADirPod::RootOf(AString(kPodName)));
    EXPECT_EQ(0, list.GetCount());
    EXPECT_NE("00000000", list.GetPodID());
    EXPECT_EQ(AString(Drive()), list.GetRemovedFilesFolder());
    const AString identifier = list.GetPodID();
    list.SetRootPath(ADirPod::RootOf(AString("Other iPod")));
    EXPECT_EQ(identifier, list.GetPodID());
    EXPECT_EQ("Other iPod", list.GetPodNameFromRoot());
}

// A volume without an iPod database is no iPod: nothing is made on it, its preferences included.
TEST_F(ADirPodTest, AVolumeWithoutDatabaseGetsNothingWritten) {
    fs::remove(PodFile("iPod_Control/iTunes/iTunesDB"));
    const std::vector<std::string> before = FilesBelow(mountPoint);
    ADirPod list;
    EXPECT_NE(0, Open(list));
    EXPECT_EQ(0, list.GetCount());
    EXPECT_NE(0, list.AddSong(AString(NewSong("new.mp3", "New")), nullptr));
    EXPECT_NE(0, list.CreatePlayList(AString("Party")));
    uint32_t autoUpdate = 1;
    EXPECT_EQ(0, ADirSong::GetPodAutoUpdate(AString(Drive()), autoUpdate));
    EXPECT_EQ(0U, autoUpdate);
    AString musicFolder;
    list.GetMusicFolder(musicFolder);
    EXPECT_EQ("", musicFolder);
    EXPECT_EQ(before, FilesBelow(mountPoint));
}

// Orphans are the songs whose file is gone from the iPod; removing them takes them out of its database.
TEST_F(ADirPodTest, TheOrphanToolRemovesSongsWhoseFileIsGone) {
    LibraryTools::Install();
    HeadlessToolActionPresenter presenter;
    ADirSong::SetToolActionPresenter(&presenter);
    ADirPod list;
    ASSERT_EQ(0, Open(list));
    fs::remove(FileOf(list, "Alpha"));
    const AString alpha = *list.GetEntry(IndexOf(list, "Alpha"));
    presenter.QueueAnswers({true});
    const int result = list.RemoveOrphans(nullptr, 1);
    ADirSong::SetToolActionPresenter(nullptr);
    ASSERT_EQ(0, result);
    const auto shown = presenter.Shown();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Remove Orphans From iPod - Entries to Remove", shown[0].title);
    ASSERT_EQ(1u, shown[0].rows.size());
    EXPECT_EQ(alpha, shown[0].rows[0].entry);
    const auto tracks = TracksOnPod();
    ASSERT_EQ(2u, tracks.size());
    EXPECT_EQ("Song (Live)", tracks[0].first);
    EXPECT_EQ("Zeta", tracks[1].first);
}

// A song file in the iPod's music folders that no song names is offered to the iPod, which takes a copy
// of its own: the found file leaves, the song stays.
TEST_F(ADirPodTest, ADisconnectedFileOnTheIPodBecomesASong) {
    WriteSongFile(PodFile("iPod_Control/Music/F00/LOSE.mp3"),
                  MakeMp3(SongTags("Jazz", "Band", "Live", "Loose")));
    LibraryTools::Install();
    HeadlessToolActionPresenter presenter;
    ADirSong::SetToolActionPresenter(&presenter);
    ADirPod list;
    ASSERT_EQ(0, Open(list));
    presenter.QueueAnswers({true});
    const int result = list.ScanDisconnectedFiles(1, nullptr, 1);
    ADirSong::SetToolActionPresenter(nullptr);
    ASSERT_EQ(0, result);
    const auto shown = presenter.Shown();
    ASSERT_EQ(1u, shown.size());
    ASSERT_EQ(1u, shown[0].rows.size());
    EXPECT_EQ(PodFile("iPod_Control/Music/F00/LOSE.mp3"), shown[0].rows[0].entry.ToUtf8());
    EXPECT_FALSE(fs::exists(PodFile("iPod_Control/Music/F00/LOSE.mp3")));
    const auto tracks = TracksOnPod();
    ASSERT_EQ(4u, tracks.size());
    EXPECT_EQ("Loose", tracks[1].first);
    EXPECT_TRUE(fs::exists(mountPoint + tracks[1].second));
}

} // namespace
