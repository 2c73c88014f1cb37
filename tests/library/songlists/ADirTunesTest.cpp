#include "library/songlists/ADirTunes.h"

#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/itunes/ITunes.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/TunesLibraryFixture.h"
#include "library/songlists/ADirSongDir.h"
#include "library/songlists/AddFileSongInfo.h"
#include "library/songlists/TestSongFiles.h"
#include "support/AStringPrinting.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace {

std::vector<std::string> EntriesOf(ADir& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetCount(); ++i)
        entries.push_back(list.GetEntry(i)->ToUtf8());
    return entries;
}

std::vector<std::string> WithoutIDs(const std::vector<std::string>& entries) {
    std::vector<std::string> names;
    for (const std::string& entry : entries)
        names.push_back(entry.substr(0, entry.rfind('?')));
    return names;
}

int IndexOfFile(ADir& list, const std::string& path) {
    for (int i = 0; i < list.GetCount(); ++i) {
        AString file;
        if (list.GetFullPath(*list.GetEntry(i), file, 1) == 0 && file.ToUtf8() == path)
            return i;
    }
    return -1;
}

// The five songs of the fixture, added by the user.
class ADirTunesTest : public TunesLibraryFixture {
protected:
    void SetUp() override {
        TunesLibraryFixture::SetUp();
        AddFiveSongs();
    }

    // The playlist "Mix" of bjork's song, with a "Last Sync" playlist that added songs go to as well.
    void OpenMixWithLastSync(ADirTunes& list) {
        MakePlayList(u"Mix", {bjork});
        Open(list, "Mix");
        ITunesPlayList* lastSync = nullptr;
        ASSERT_EQ(list.GetClient()->CreatePlayList(AString("Last Sync"), &lastSync), 0);
        list.SetSecondPlayList(lastSync);
    }

    void Open(ADirTunes& list, const char* playList = "") {
        list.SetPlayListName(AString(playList));
        ASSERT_EQ(list.Open(nullptr, 0, CancelCallback()), 0);
        list.Sort(1);
    }
};

TEST_F(ADirTunesTest, TheLibraryListsItsSongsAsASongFolderListsTheSameFiles) {
    ADirTunes list;
    Open(list);
    ADirSongDir folder;
    const AString root = dir.Text("songs");
    ASSERT_EQ(folder.Open(&root, 0, CancelCallback()), 0);
    folder.Sort(1);
    EXPECT_EQ(WithoutIDs(EntriesOf(list)), WithoutIDs(EntriesOf(folder)));
    EXPECT_EQ(list.GetCount(), 5);
    EXPECT_EQ(list.GetITunesVersion(), 921u);
    EXPECT_EQ(list.GetCachedMusicFolder(), AString(MusicFolder() + "/"));
    for (const std::string& entry : EntriesOf(list)) {
        AString byPath;
        AString byID;
        AString withoutLeadingLevel;
        ASSERT_EQ(list.GetFullPath(AString(entry), byPath, 0), 0);
        ASSERT_EQ(list.GetFullPath(AString(entry), byID, 1), 0);
        ASSERT_EQ(list.GetFullPath(AString(entry).Mid(1), withoutLeadingLevel, 0), 0);
        EXPECT_EQ(byPath, byID);
        EXPECT_EQ(byPath, withoutLeadingLevel);
        EXPECT_EQ(list.GetFullPath(AString(ADirTunes::kRootMarker) + AString(entry), byPath, 0), 0);
        AString joined(ADirTunes::kRootMarker);
        joined.AppendPath(AString(entry));
        EXPECT_EQ(list.GetFullPath(joined, byPath, 0), 0) << "the sync joins root and entry as a path";
        EXPECT_EQ(list.FileExists(AString(entry)), 1u);
        EXPECT_EQ(list.GetFileDate(AString(entry)), GetFileModTime(byPath));
    }
    AString description;
    EXPECT_EQ(list.GetDescription(description, 0), "iTunes:");
}

TEST_F(ADirTunesTest, TheLibraryPlayListNameReadsTheWholeLibrary) {
    ADirTunes list;
    Open(list, "Library");
    EXPECT_EQ(list.GetCount(), 5);
    AString description;
    EXPECT_EQ(list.GetDescription(description, 1), "Library");
}

TEST_F(ADirTunesTest, APlayListThatDoesNotExistIsAnErrorNeverAnEmptyOrWholeList) {
    ADirTunes list;
    list.SetPlayListName(AString("Nothing"));
    EXPECT_EQ(list.Open(nullptr, 0, CancelCallback()), kErrorInvalidPlayList);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(ADirTunesTest, EntriesAreFoundAfterADescendingSort) {
    ADirTunes list;
    Open(list);
    list.Sort(0);
    const std::vector<std::string> entries = EntriesOf(list);
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_GT(AString(entries[i - 1]).CompareNoCase(AString(entries[i])), 0);
    for (const std::string& entry : entries) {
        AString path;
        EXPECT_EQ(list.GetFullPath(AString(entry), path, 0), 0) << entry;
    }
}

TEST_F(ADirTunesTest, APlayListListShowsEachPlaceOfItsSongs) {
    MakePlayList(u"Mix", {five, bjork, five});
    ADirTunes list;
    Open(list, "Mix");
    const std::vector<std::string> entries = EntriesOf(list);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()).size(), 2u);
    AString path;
    ASSERT_EQ(list.GetFullPath(AString(entries[0]), path, 0), 0);
    AString description;
    EXPECT_EQ(list.GetDescription(description, 0), "iTunes:Mix");
}

TEST_F(ADirTunesTest, DeletingFromAPlayListKeepsTheSongInTheLibraryAndItsFile) {
    MakePlayList(u"Mix", {five, bjork, five});
    ADirTunes list;
    Open(list, "Mix");
    const int index = IndexOfFile(list, five);
    ASSERT_GE(index, 0);
    ASSERT_EQ(list.RemoveEntry(index, 1, 0), 0);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_TRUE(std::filesystem::exists(five));
    EXPECT_EQ(FilesInLibrary().count(five), 1u);
    ADirTunes again;
    Open(again, "Mix");
    EXPECT_EQ(again.GetCount(), 2);
    EXPECT_GE(IndexOfFile(again, five), 0);
}

TEST_F(ADirTunesTest, DeletingFromTheLibraryMovesTheFileToRemovedFiles) {
    ADirTunes list;
    Open(list);
    const int index = IndexOfFile(list, five);
    ASSERT_GE(index, 0);
    ASSERT_EQ(list.RemoveEntry(index, 1, 0), 0);
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_FALSE(std::filesystem::exists(five));
    EXPECT_TRUE(std::filesystem::exists(dir.File("Music/iTunes/Removed Files/Some Artist/An Album/five.mp3")));
    EXPECT_EQ(FilesInLibrary().count(five), 0u);
}

// The sync names the songs it deletes by their list's root joined with the entry.
TEST_F(ADirTunesTest, ASongNamedByItsJoinedPathIsDeleted) {
    ADirTunes list;
    Open(list);
    AString path(ADirTunes::kRootMarker);
    path.AppendPath(*list.GetEntry(IndexOfFile(list, five)));
    ASSERT_EQ(list.DeleteFile(path, 0, 0), 0);
    EXPECT_FALSE(std::filesystem::exists(five));
    EXPECT_EQ(FilesInLibrary().count(five), 0u);
}

TEST_F(ADirTunesTest, ASongWhoseFileIsGoneIsOnlyTakenFromTheLibrary) {
    ADirTunes list;
    Open(list);
    const AString entry = *list.GetEntry(IndexOfFile(list, bjork));
    std::filesystem::remove(bjork);
    ASSERT_EQ(list.DeleteFile(entry, 1, 0), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("Music/iTunes/Removed Files")));
    EXPECT_EQ(FilesInLibrary().size(), 4u);
    EXPECT_EQ(list.DeleteFile(entry, 1, 0), kErrorEndOfStream);
}

TEST_F(ADirTunesTest, TheEntryOfADeletedSongIsEmpty) {
    ADirTunes list;
    Open(list);
    const int index = IndexOfFile(list, ubung);
    ASSERT_EQ(list.GetClient()->DeleteSong(ITunes::DatabaseIDOfEntry(*list.GetEntry(index)), false), 0);
    ASSERT_NE(list.GetEntry(index), nullptr);
    EXPECT_TRUE(list.GetEntry(index)->IsEmpty());
    AString path;
    EXPECT_EQ(list.GetFullPath(*list.GetEntry(index), path, 1), kErrorEndOfStream);
    EXPECT_EQ(list.GetEntry(list.GetCount()), nullptr);
}

TEST_F(ADirTunesTest, AnAddedFileGoesIntoTheLibraryAndBothPlayLists) {
    ADirTunes list;
    OpenMixWithLastSync(list);
    list.SetAddState(1);
    const std::string fresh = PutSong("v23_unsync.mp3", "Pop/unsync.mp3");
    const AString key("/2/0_0/40/*/*");
    ASSERT_EQ(list.AddTrackFile(AString(fresh), &key), 0);
    EXPECT_EQ(list.GetAddState(), 0u);
    // A file the library holds already is added to the playlists all the same.
    ASSERT_EQ(list.AddTrackFile(AString(five), nullptr), 0);
    EXPECT_EQ(FilesInLibrary().count(fresh), 1u);

    ADirTunes mix;
    Open(mix, "Mix");
    EXPECT_EQ(mix.GetCount(), 3);
    EXPECT_GE(IndexOfFile(mix, fresh), 0);
    EXPECT_GE(IndexOfFile(mix, five), 0);
    EXPECT_EQ(mix.GetSongKey(*mix.GetEntry(IndexOfFile(mix, fresh))), "/2/0_0/40/*/*");
    ADirTunes last;
    Open(last, "Last Sync");
    EXPECT_EQ(last.GetCount(), 2);
}

TEST_F(ADirTunesTest, ReadingAgainWithTheSameClientForgetsThePlayListsItHeld) {
    ADirTunes list;
    OpenMixWithLastSync(list);
    ASSERT_EQ(list.ReadDirectory(CancelCallback(), 1), 0);
    EXPECT_EQ(list.GetCount(), 1);
    ASSERT_EQ(list.AddTrackFile(AString(five), nullptr), 0);
    EXPECT_EQ(list.GetCount(), 2);
}

TEST_F(ADirTunesTest, AFailedAddToTheSecondPlayListIsReportedAndLogged) {
    AProgress progress;
    ADirTunes list(&progress);
    Open(list);
    ITunesPlayList* lastSync = nullptr;
    ASSERT_EQ(list.GetClient()->CreatePlayList(AString("Last Sync"), &lastSync), 0);
    ASSERT_EQ(list.GetClient()->DeletePlayListByName(AString("Last Sync")), 0);
    list.SetSecondPlayList(lastSync);
    EXPECT_EQ(list.AddTrackFile(AString(PutSong("v23_unsync.mp3", "Pop/unsync.mp3")), nullptr),
              kErrorLastSyncPlayList);
    EXPECT_NE(progress.PendingLog().Find("Error: -102396: Failed to add item to Last Sync playlist."), -1);
    EXPECT_EQ(list.AddTrackFile(dir.Text("songs/none.mp3"), nullptr), kErrorFileNotFound);
}

TEST_F(ADirTunesTest, AddingASongFilesItInTheMusicFolder) {
    const std::string outside = dir.File("outside/waterloo.mp3");
    WriteSongFile(outside, MakeMp3(SongTags("Pop", "Abba", "Gold", "Waterloo", "3")));
    ADirTunes list;
    Open(list);
    ASSERT_EQ(list.AddSong(AString(outside), CancelCallback()), 0);
    const std::string placed = MusicFolder() + "/Abba/Gold/03 Waterloo.mp3";
    EXPECT_TRUE(std::filesystem::exists(placed));
    EXPECT_TRUE(std::filesystem::exists(outside));
    EXPECT_EQ(FilesInLibrary().count(placed), 1u);
    // The copy in place is the song: nothing is copied again.
    EXPECT_EQ(list.AddSong(AString(outside), CancelCallback()), kErrorDuplicate);
    EXPECT_FALSE(std::filesystem::exists(MusicFolder() + "/Abba/Gold/03 Waterloo 1.mp3"));
}

TEST_F(ADirTunesTest, AnAddTheLibraryRefusesLeavesNoCopyInTheMusicFolder) {
    const std::string outside = dir.File("outside/waterloo.mp3");
    WriteSongFile(outside, MakeMp3(SongTags("Pop", "Abba", "Gold", "Waterloo", "3")));
    ADirTunes list;
    Open(list);
    itunesapp::ITunesInstance::Running().RefuseAdds(3);
    EXPECT_EQ(list.AddSong(AString(outside), CancelCallback()), kErrorITunesRefused);
    EXPECT_FALSE(std::filesystem::exists(MusicFolder() + "/Abba/Gold/03 Waterloo.mp3"));
    EXPECT_TRUE(std::filesystem::exists(outside));
}

// What the disconnected-files tool does with a file it found in the music folder.
TEST_F(ADirTunesTest, AFoundFileIsFiledAndAddedAndTheLibrarysFileNamed) {
    const std::string found = MusicFolder() + "/stray/waterloo.mp3";
    WriteSongFile(found, MakeMp3(SongTags("Pop", "Abba", "Gold", "Waterloo", "3")));
    ADirTunes list;
    Open(list);
    AString musicFolder;
    list.GetMusicFolder(musicFolder);
    AString target;
    uint32_t copied = 0;
    ASSERT_EQ(list.PlaceFileInLibrary(musicFolder, AString(found), target, copied, CancelCallback()), 0);
    EXPECT_EQ(target, AString(MusicFolder() + "/Abba/Gold/03 Waterloo.mp3"));
    EXPECT_EQ(copied, 1u);
    AString kept;
    ASSERT_EQ(list.AddFileToLibrary(target, kept, CancelCallback()), 0);
    EXPECT_EQ(kept, target);
    // A file the library holds already is its song's file.
    ASSERT_EQ(list.AddFileToLibrary(AString(bjork), kept, CancelCallback()), 0);
    EXPECT_EQ(kept, AString(bjork));
    EXPECT_EQ(list.AddFileToLibrary(AString(found + ".missing"), kept, CancelCallback()), kErrorFileNotFound);
    EXPECT_TRUE(kept.IsEmpty());
}

TEST_F(ADirTunesTest, SongKeysCarryPlayDataBothWays) {
    ADirTunes list;
    Open(list);
    const AString fiveEntry = *list.GetEntry(IndexOfFile(list, five));
    EXPECT_EQ(list.GetSongKey(fiveEntry), "/0/0_0/0/A comment/*");
    EXPECT_EQ(list.GetSongKey(*list.GetEntry(IndexOfFile(list, bjork))).Right(4), "/*/*");
    EXPECT_EQ(list.GetSongKey(AString("\\Nobody?1")), "");

    ASSERT_EQ(list.UpdateSongInfo(fiveEntry, AString("/9/0_0/80/Great/Jazz"), {true, true, true, true, true}),
              0);
    ADirTunes again;
    Open(again);
    EXPECT_EQ(again.GetSongKey(*again.GetEntry(IndexOfFile(again, five))), "/9/0_0/80/Great/Jazz");
    EXPECT_EQ(list.UpdateSongInfo(AString("\\Nobody?1"), AString("/1/0_0/0/*/*"), {}),
              kErrorITunesUpdateSongUnknown);
    ADirTunes unread;
    EXPECT_EQ(unread.UpdateSongInfo(fiveEntry, AString("/1/0_0/0/*/*"), {}), kErrorNotConnected);
}

TEST_F(ADirTunesTest, AddFileTellsTheSyncTheSongsBitRateAndDuration) {
    ADirTunes list;
    Open(list);
    const AString entry = *list.GetEntry(IndexOfFile(list, five));
    AddFileSongInfo info;
    ASSERT_EQ(list.AddFile(entry, info), 0);
    EXPECT_EQ(info.bitRate, 32u);
    EXPECT_EQ(info.duration, 1u);
    EXPECT_EQ(list.GetBitRate(entry), 32);
    EXPECT_EQ(list.GetDuration(entry), 1);
    EXPECT_EQ(list.AddFile(AString("\\Nobody?1"), info), kErrorEndOfStream);
}

TEST_F(ADirTunesTest, ArtworkComesFromTheSongFileThroughTheApplication) {
    ADirTunes list;
    Open(list);
    const AString entry = *list.GetEntry(IndexOfFile(list, bjork));
    int count = 0;
    ASSERT_EQ(list.GetArtworkCount(entry, count), 0);
    EXPECT_EQ(count, 1);
    std::vector<uint8_t> picture;
    ASSERT_EQ(list.SaveArtwork(entry, 0, picture), 0);
    EXPECT_EQ(picture, FixtureBytes("tags/tiny.jpg"));
    EXPECT_EQ(list.GetArtworkCount(AString("\\Nobody?1"), count), kErrorEndOfStream);
}

TEST_F(ADirTunesTest, TheSavedListLoadsBackWithItsSongsAndPlayList) {
    MakePlayList(u"Mix", {five, bjork, five});
    ADirTunes list;
    Open(list, "Mix");
    AMemFile saved;
    ASSERT_EQ(list.Save(saved, 0), 0);
    ASSERT_GE(saved.GetSize(), 4u);
    EXPECT_EQ(saved.GetBuffer()[0] | saved.GetBuffer()[1] << 8, 10002);

    ADirTunes loaded;
    AMemFile reader(saved.GetBuffer(), saved.GetSize());
    ASSERT_EQ(loaded.Load(reader, 0), 0);
    EXPECT_EQ(loaded.PlayListName(), "Mix");
    loaded.Sort(1);
    EXPECT_EQ(EntriesOf(loaded), EntriesOf(list));
    AString path;
    ASSERT_EQ(loaded.GetFullPath(*loaded.GetEntry(0), path, 0), 0);

    std::vector<uint8_t> bytes(saved.GetBuffer(), saved.GetBuffer() + saved.GetSize());
    bytes[0] = 0x13;
    AMemFile wrongWord(bytes.data(), static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(loaded.Load(wrongWord, 0), kErrorVersion);
}

TEST_F(ADirTunesTest, PlayListsAreMadeNamedAndDeletedThroughTheList) {
    ADirTunes list;
    ASSERT_EQ(list.CreatePlayList(AString("Made")), 0);
    ASSERT_EQ(list.CreateSyncPlayList(AString("Last Sync")), 0);
    MakePlayList(u"Mix", {five});
    std::vector<AString> names;
    ASSERT_EQ(list.GetPlayListNames(names, 0, 1), 0);
    EXPECT_EQ(names, (std::vector<AString>{AString("Made"), AString("Last Sync"), AString("Mix")}));
    ASSERT_EQ(list.DeletePlayList(AString("Made")), 0);
    EXPECT_EQ(list.DeletePlayList(AString("Made")), kErrorITunesCall);
    names.clear();
    ASSERT_EQ(list.GetPlayListNames(names, 1, 0), 0);
    EXPECT_EQ(names.size(), 2u);
    list.SetPlayListName(AString("mix"));
    EXPECT_EQ(list.IsPlayListReadOnly(), 0);
}

// Locations and playlists written by the music application itself (tests/fixtures/itunes).
class ADirTunesOnAWrittenLibrary : public TunesLibraryFixture {};

TEST_F(ADirTunesOnAWrittenLibrary, AFileWithoutExtensionBelowADottedFolderHasNone) {
    WriteLibraryText(std::string(reinterpret_cast<const char*>(FixtureBytes("itunes/small-library.xml").data()),
                                 FixtureBytes("itunes/small-library.xml").size()));
    ADirTunes list;
    list.SetFlags(0);
    list.SetPlayListName(AString("Mix"));
    ASSERT_EQ(list.Open(nullptr, 0, CancelCallback()), 0);
    list.Sort(1);
    EXPECT_EQ(EntriesOf(list), (std::vector<std::string>{"\\*\\Ann\\*\\Rock & Roll _Live_\\*?2001",
                                                         "\\*\\Ann\\*\\Rock & Roll _Live_\\*?2001"}));
    AString path;
    ASSERT_EQ(list.GetFullPath(*list.GetEntry(0), path, 1), 0);
    EXPECT_EQ(path, "/home/ann/Music/Vol. 2/Rock & Roll");
    ASSERT_EQ(list.GetFullPath(*list.GetEntry(0), path, 0), 0);
}

TEST_F(ADirTunesOnAWrittenLibrary, ASmartPlayListIsReadOnly) {
    WriteLibraryText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                     "\t<key>Tracks</key>\n\t<dict>\n\t</dict>\n\t<key>Playlists</key>\n\t<array>\n"
                     "\t\t<dict>\n\t\t\t<key>Name</key><string>Recent</string>\n"
                     "\t\t\t<key>Smart Info</key><data>AQ==</data>\n\t\t</dict>\n\t</array>\n</dict>\n</plist>\n");
    ADirTunes list;
    list.SetPlayListName(AString("recent"));
    EXPECT_EQ(list.IsPlayListReadOnly(), 1);
    std::vector<AString> names;
    ASSERT_EQ(list.GetPlayListNames(names, 1, 1), 0);
    EXPECT_TRUE(names.empty());
}

} // namespace

namespace {

class UnreadableTunesLibraryTest : public TunesLibraryFixture {};

} // namespace

TEST_F(UnreadableTunesLibraryTest, OpeningTheListNamesTheLibraryFileThatCannotBeRead) {
    WriteLibraryText("<plist><dict><key>Tracks</key>");
    AProgress progress;
    ADirTunes list(&progress);
    EXPECT_EQ(list.Open(nullptr, 0, CancelCallback()), kErrorLibraryUnreadable);
    const AString log = progress.PendingLog();
    const AString named = AString("Reading the library file ") + dir.Text("Music/iTunes/iTunes Music Library.xml");
    EXPECT_NE(log.Find(named, 0, true), -1) << log.ToUtf8();
    EXPECT_NE(log.Find("ERROR=-15231: The iTunes library file cannot be read."), -1) << log.ToUtf8();
}
