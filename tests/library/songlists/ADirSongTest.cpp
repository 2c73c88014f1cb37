#include "library/songlists/ADirSong.h"

#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/songlists/TestSongFiles.h"
#include "library/tags/ID3.h"
#include "support/AStringPrinting.h"
#include "support/RecordingUserInterface.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

SongFilter Filter(uint32_t flags, const char* keep, const char* drop) {
    return {flags, AString(keep), AString(drop)};
}

void SetModTime(const std::string& path, int64_t unixSeconds) {
    ASSERT_EQ(SetFileModTime(AString(path), UnixToMacTime(unixSeconds), false), 0);
}

} // namespace

TEST(ADirSongTest, StartsWithTheSongTypesAndLayout) {
    ADirSong list;
    EXPECT_EQ(list.GetType(), 10000u);
    EXPECT_EQ(list.GetTypeList(), AString(":mp3:m4p:m4a:m4b:aac:"));
    EXPECT_EQ(list.GetTypeFilterFlags(), 1u);
    EXPECT_TRUE(list.PassesTypeFilter(AString("/m/a.M4A")));
    EXPECT_FALSE(list.PassesTypeFilter(AString("/m/a.wav")));
    EXPECT_EQ(list.GetEntryLayout().genre, true);
    EXPECT_EQ(list.GetEntryLayout().track, false);
}

TEST(ADirSongTest, SongFiltersTakeTheirLevelsFromTheEntry) {
    struct Case {
        SongFilter genre;
        SongFilter artist;
        SongFilter album;
        SongFilter title;
        const char* entry;
        bool passes;
    };
    const SongFilter none;
    const Case cases[] = {
        {Filter(1, ":rock:pop:", ""), none, none, none, "\\Rock\\A\\B\\T\\mp3?1", true},
        {Filter(1, ":pop:", ""), none, none, none, "\\Rock\\A\\B\\T\\mp3?1", false},
        {Filter(2, "", ":ROCK:"), none, none, none, "\\Rock\\A\\B\\T\\mp3?1", false},
        // An empty item of a list never matches a level.
        {Filter(1, ":pop::", ""), none, none, none, "\\\\A\\B\\T\\mp3?1", false},
        {none, Filter(1, ":Abba:", ""), none, none, "\\Pop\\abba\\B\\T\\mp3?1", true},
        {none, none, Filter(2, "", ":Gold:"), none, "\\Pop\\Abba\\Gold\\T\\mp3?1", false},
        {none, none, none, Filter(1, ":Live:", ""), "\\Pop\\Abba\\Gold\\Live at Wembley\\mp3?1", true},
        {none, none, none, Filter(1, ":Live:", ""), "\\Pop\\Abba\\Gold\\live\\mp3?1", false},
        // The id tail is no part of the title.
        {none, none, none, Filter(2, "", ":1:"), "\\Pop\\Abba\\Gold\\Song\\mp3?1", true},
    };
    for (const Case& c : cases) {
        ADirSong list;
        list.SetGenreFilter(c.genre);
        list.SetArtistFilter(c.artist);
        list.SetAlbumFilter(c.album);
        list.SetTitleFilter(c.title);
        EXPECT_EQ(list.PassesSongFilters(AString(c.entry)), c.passes) << c.entry;
    }
}

TEST(ADirSongTest, LevelFiltersPassWhenTheLevelIsOff) {
    ADirSong list;
    list.SetGenreFilter(Filter(1, ":Jazz:", ""));
    list.SetAlbumFilter(Filter(1, ":Gold:", ""));
    list.SetTrackLevel(1);
    EXPECT_FALSE(list.PassesSongFilters(AString(u"\\Rock\\A\\Gold\\05\\T\\mp3")));
    list.SetGenreLevel(0);
    list.SetAlbumLevel(0);
    list.SetTitleFilter(Filter(1, ":Song:", ""));
    EXPECT_TRUE(list.PassesSongFilters(AString(u"\\A\\05\\Song\\mp3")));
    EXPECT_TRUE(list.PassesGenreFilter(AString("Rock")));
}

TEST(ADirSongTest, DisplayTextShowsWhatFitsAndNamesUnknownLevels) {
    ADirSong list;
    list.SetRootPath(AString("/music"));
    AString out;
    EXPECT_EQ(list.BuildDisplayString(out, AString(u"\\Rock\\Artist\\Album\\Title\\mp3?123"), -1, 1),
              AString("Rock; Artist; Album; Title; mp3"));
    EXPECT_EQ(list.BuildDisplayString(out, AString(u"\\Rock\\Artist\\Album\\Title\\mp3?123"), -1, 0),
              AString("/music/: Rock; Artist; Album; Title; mp3"));
    EXPECT_EQ(list.BuildDisplayString(out, AString(u"\\*\\*\\*\\*\\*"), -1, 1),
              AString("Unknown Genre; Unknown Artist; Unknown Album; Unknown Title; Unknown Type"));
    // Width 20: the title (5), then the artist (6 + 2) fits, the album (5 + 2) does not.
    EXPECT_EQ(list.BuildDisplayString(out, AString(u"\\Rock\\Artist\\Album\\Title\\mp3"), 20, 0),
              AString("Artist; Title"));
    EXPECT_EQ(list.BuildDisplayString(out, AString(u"/music/\\Rock\\Artist\\Album\\Title\\mp3"), 0, 0),
              AString("Title"));
    list.SetTrackLevel(1);
    EXPECT_EQ(list.BuildDisplayString(out, AString(u"\\Rock\\Artist\\Album\\07\\Title\\mp3"), -1, 1),
              AString("Rock; Artist; Album; Title; mp3"));
}

TEST(ADirSongTest, ConfirmStepCountsAClosedQuestionAsNo) {
    RecordingUserInterface user;
    ADirSong list;
    uint32_t state = ADirSong::kConfirmAsk;
    user.QueueAnswers({-1, 1, 0, 2, 3});
    EXPECT_EQ(list.ConfirmStep(state, AString("closed")), 0);
    EXPECT_EQ(list.ConfirmStep(state, AString("no")), 0);
    EXPECT_EQ(list.ConfirmStep(state, AString("yes")), 1);
    EXPECT_EQ(list.ConfirmStep(state, AString("yes to all")), 1);
    EXPECT_EQ(state, uint32_t(ADirSong::kConfirmYesToAll));
    EXPECT_EQ(list.ConfirmStep(state, AString("not asked")), 1);
    EXPECT_EQ(user.alerts.size(), 4u);
    state = ADirSong::kConfirmAsk;
    EXPECT_EQ(list.ConfirmStep(state, AString("no to all")), 0);
    EXPECT_EQ(list.ConfirmStep(state, AString("not asked")), 0);
    EXPECT_EQ(user.alerts.size(), 5u);
    EXPECT_EQ(user.alerts[0].buttons[2], AString("Yes to All"));
    EXPECT_EQ(user.alerts[0].descriptions[0], AString("Delete"));
}

TEST(ADirSongTest, KeepRuleDecidesByExistenceTypeSizeDateAndNumber) {
    TempDir dir;
    WriteTextFile(dir.File("a/Song.mp3"), "12345");
    WriteTextFile(dir.File("b/Song.m4a"), "123");
    ADirSong list;
    const AString mp3 = dir.Text("a/Song.mp3");
    const AString m4a = dir.Text("b/Song.m4a");
    EXPECT_EQ(list.ChooseKeeper(dir.Text("missing.mp3"), m4a), ADirSong::kKeepSecond);
    EXPECT_EQ(list.ChooseKeeper(mp3, dir.Text("missing.mp3")), ADirSong::kKeepFirst);
    EXPECT_EQ(list.ChooseKeeper(mp3, m4a), ADirSong::kKeepFirst); // larger
    list.SetPreferredTypes(AString(":M4A:"));
    EXPECT_EQ(list.ChooseKeeper(mp3, m4a), ADirSong::kKeepSecond);
    list.SetPreferredTypes(AString());

    WriteTextFile(dir.File("c/Song 2.mp3"), "12345");
    WriteTextFile(dir.File("c/Song 1.mp3"), "12345");
    WriteTextFile(dir.File("c/Song.mp3"), "12345");
    for (const char* name : {"c/Song 2.mp3", "c/Song 1.mp3", "c/Song.mp3"})
        SetModTime(dir.File(name), 1000000000);
    EXPECT_EQ(list.ChooseKeeper(dir.Text("c/Song 2.mp3"), dir.Text("c/Song 1.mp3")), ADirSong::kKeepSecond);
    EXPECT_EQ(list.ChooseKeeper(dir.Text("c/Song 1.mp3"), dir.Text("c/Song.mp3")), ADirSong::kKeepSecond);
    EXPECT_EQ(list.ChooseKeeper(dir.Text("c/Song.mp3"), dir.Text("c/Song 1.mp3")), ADirSong::kKeepFirst);

    WriteTextFile(dir.File("d/New.mp3"), "1");
    SetModTime(dir.File("d/New.mp3"), 1100000000);
    EXPECT_EQ(list.ChooseKeeper(dir.Text("c/Song.mp3"), dir.Text("d/New.mp3")), ADirSong::kKeepFirst);
    list.SetLargestOverNewest(0);
    EXPECT_EQ(list.ChooseKeeper(dir.Text("c/Song.mp3"), dir.Text("d/New.mp3")), ADirSong::kKeepSecond);
}

TEST(ADirSongTest, AProtectedFileOfAForeignAccountLosesToAnyCopy) {
    TempDir dir;
    TestSongTags tags;
    tags.title = "Song";
    tags.artist = "Artist";
    tags.account = "someone@else";
    WriteSongFile(dir.File("bought.m4p"), MakeMp4(tags, 4000));
    tags.account = "me@home";
    WriteSongFile(dir.File("mine.m4p"), MakeMp4(tags, 100));
    tags.account.clear();
    WriteSongFile(dir.File("plain.m4a"), MakeMp4(tags, 10));
    ID3 check;
    ASSERT_EQ(check.Read(dir.Text("bought.m4p")), 0);
    AString account;
    check.GetAccountName(account);
    ASSERT_EQ(account, AString("someone@else"));

    ADirSong list;
    list.SetAllowedAppleIDs(AString(":me@home:"));
    EXPECT_EQ(list.ChooseKeeper(dir.Text("bought.m4p"), dir.Text("plain.m4a")), ADirSong::kKeepSecond);
    EXPECT_EQ(list.ChooseKeeper(dir.Text("plain.m4a"), dir.Text("bought.m4p")), ADirSong::kKeepFirst);
    // A protected file of the user's own account wins over an unprotected, even larger, one.
    EXPECT_EQ(list.ChooseKeeper(dir.Text("plain.m4a"), dir.Text("mine.m4p")), ADirSong::kKeepSecond);
    // An unprotected file bought with another account loses too, even when it is larger.
    tags.account = "someone@else";
    WriteSongFile(dir.File("foreign.m4a"), MakeMp4(tags, 4000));
    EXPECT_EQ(list.ChooseKeeper(dir.Text("foreign.m4a"), dir.Text("plain.m4a")), ADirSong::kKeepSecond);
    list.SetOnlyMyAppleIDs(0);
    EXPECT_EQ(list.ChooseKeeper(dir.Text("foreign.m4a"), dir.Text("plain.m4a")), ADirSong::kKeepFirst);
    list.SetOnlyMyAppleIDs(1);
    list.SetProtectedFiles(0);
    EXPECT_EQ(list.ChooseKeeper(dir.Text("plain.m4a"), dir.Text("bought.m4p")), ADirSong::kKeepSecond);
}

// The answer is read afresh on every call: another iPod may be mounted at the same place since. An
// iPod without preferences (as other software prepares one) is updated by hand.
TEST(ADirSongTest, AutoUpdateFlagIsReadEveryTimeAndNothingIsCreated) {
    TempDir dir;
    uint32_t flag = 7;
    EXPECT_EQ(ADirSong::GetPodAutoUpdate(dir.Text("pod"), flag), 0);
    EXPECT_EQ(flag, 0u);
    EXPECT_FALSE(std::filesystem::exists(dir.File("pod/iPod_Control/iTunes/iTunesPrefs")));
    std::vector<uint8_t> prefs(16, 0);
    prefs[10] = 0x03;
    WriteSongFile(dir.File("pod/iPod_Control/iTunes/iTunesPrefs"), prefs);
    ASSERT_EQ(ADirSong::GetPodAutoUpdate(dir.Text("pod"), flag), 0);
    EXPECT_EQ(flag, 1u);
    prefs[10] = 0x02;
    WriteSongFile(dir.File("pod/iPod_Control/iTunes/iTunesPrefs"), prefs);
    ASSERT_EQ(ADirSong::IsAutoUpdatePod(dir.Text("pod"), flag), 0);
    EXPECT_EQ(flag, 0u);
    WriteSongFile(dir.File("pod/iPod_Control/iTunes/iTunesPrefs"), std::vector<uint8_t>(5, 0xFF));
    EXPECT_NE(ADirSong::GetPodAutoUpdate(dir.Text("pod"), flag), 0);
}

TEST(ADirSongTest, TargetFolderFollowsTheTagsAndTheVersion) {
    TempDir dir;
    TestSongTags tags;
    tags.title = "Title";
    tags.album = "Album";
    WriteSongFile(dir.File("src/noartist.mp3"), MakeMp3(tags));
    tags.artist = "   ";
    WriteSongFile(dir.File("src/blanks.mp3"), MakeMp3(tags));
    tags.artist = "AC/DC" + std::string(50, 'x');
    tags.album = ".Hidden";
    WriteSongFile(dir.File("src/long.mp3"), MakeMp3(tags));

    ADirSong list;
    auto folderOf = [&](const char* file, uint32_t& unknown) {
        ID3 read;
        EXPECT_EQ(read.Read(dir.Text(file)), 0);
        AString folder("/lib");
        list.BuildTargetFolder(read, folder, &unknown, 0);
        return folder;
    };
    uint32_t unknown = 0;
    EXPECT_EQ(folderOf("src/noartist.mp3", unknown), AString("/lib/Unknown Artist/Album"));
    EXPECT_EQ(unknown, 1u);
    EXPECT_EQ(folderOf("src/blanks.mp3", unknown), AString("/lib/_ _/Album"));
    EXPECT_EQ(unknown, 0u);
    EXPECT_EQ(folderOf("src/long.mp3", unknown),
              AString(("/lib/AC_DC" + std::string(35, 'x') + "/_Hidden").c_str()));
}

// From iTunes 7.0 podcasts, movies and TV shows have top folders of their own; before it only the
// movie file types do.
TEST(ADirSongTest, MediaFoldersFollowTheITunesVersion) {
    struct Case {
        const char* file;
        int mediaKind;
        bool podcast;
        const char* album;
        const char* tvShow;
        const char* before700;
        const char* from700;
    };
    const Case cases[] = {
        {"talk.m4a", -1, true, "Weekly", "", "/lib/Artist/Weekly", "/lib/Podcasts/Weekly"},
        {"talk2.m4a", -1, true, "", "", "/lib/Artist/Unknown Album", "/lib/Podcasts/Unknown Podcast"},
        {"film.m4a", 9, false, "Score", "", "/lib/Artist/Score", "/lib/Movies"},
        {"video podcast.m4a", 10, true, "Weekly", "Show", "/lib/Artist/Weekly", "/lib/Podcasts"},
        {"episode.m4a", 10, false, "Season", "A/Show", "/lib/Artist/Season", "/lib/TV Shows/A_Show"},
        {"no show.m4a", 10, false, "Season", "", "/lib/Artist/Season", "/lib/TV Shows"},
        {"clip.m4v", -1, false, "Clips", "", "/lib/Movies", "/lib/Movies"},
    };
    TempDir dir;
    ADirSong list;
    for (const Case& c : cases) {
        TestSongTags tags;
        tags.title = "Title";
        tags.artist = "Artist";
        tags.album = c.album;
        tags.tvShow = c.tvShow;
        tags.mediaKind = c.mediaKind;
        tags.podcast = c.podcast;
        WriteSongFile(dir.File(c.file), MakeMp4(tags, 10));
        ID3 read;
        ASSERT_EQ(read.Read(dir.Text(c.file)), 0);
        for (const uint32_t version : {699u, 700u}) {
            AString folder("/lib");
            uint32_t unknown = 7;
            list.BuildTargetFolder(read, folder, &unknown, version);
            EXPECT_EQ(folder, AString(version < 700 ? c.before700 : c.from700)) << c.file << " " << version;
            EXPECT_EQ(unknown, 0u);
        }
    }
}

TEST(ADirSongTest, TargetNameNumbersTrackAndDiscAndAvoidsOtherSongs) {
    TempDir dir;
    TestSongTags tags;
    tags.title = "Title";
    tags.artist = "Artist";
    tags.album = "Album";
    tags.track = "5/12";
    tags.disc = "1/2";
    WriteSongFile(dir.File("src/a.mp3"), MakeMp3(tags));
    tags.disc.clear();
    tags.track = "12";
    tags.title = std::string(50, 'T');
    WriteSongFile(dir.File("src/b.mp3"), MakeMp3(tags));
    tags.track = "5";
    tags.title = "05 Already";
    WriteSongFile(dir.File("src/c.mp3"), MakeMp3(tags));

    ADirSong list;
    AString folder = dir.Text("lib");
    AString name;
    ASSERT_EQ(list.MakeTargetName(dir.Text("src/a.mp3"), folder, name, 0), 0);
    EXPECT_EQ(folder, dir.Text("lib/Artist/Album"));
    EXPECT_EQ(name, AString("1-05 Title.mp3"));
    folder = dir.Text("lib");
    ASSERT_EQ(list.MakeTargetName(dir.Text("src/b.mp3"), folder, name, 0), 0);
    EXPECT_EQ(name, AString(("12 " + std::string(33, 'T') + ".mp3").c_str()));
    folder = dir.Text("lib");
    ASSERT_EQ(list.MakeTargetName(dir.Text("src/b.mp3"), folder, name, 702), 0);
    EXPECT_EQ(name, AString(("12 " + std::string(50, 'T') + ".mp3").c_str()));
    folder = dir.Text("lib");
    ASSERT_EQ(list.MakeTargetName(dir.Text("src/c.mp3"), folder, name, 0), 0);
    EXPECT_EQ(name, AString("05 Already.mp3"));

    // Another song under the name: the new one is numbered.
    WriteTextFile(dir.File("lib/Artist/Album/05 Already.mp3"), "another song");
    folder = dir.Text("lib");
    ASSERT_EQ(list.MakeTargetName(dir.Text("src/c.mp3"), folder, name, 0), 0);
    EXPECT_EQ(name, AString("05 Already 1.mp3"));
    // The same song is found under its own name.
    std::filesystem::copy_file(dir.File("src/c.mp3"), dir.File("lib/Artist/Album/05 Already 1.mp3"));
    SetModTime(dir.File("lib/Artist/Album/05 Already 1.mp3"), 1000);
    SetModTime(dir.File("src/c.mp3"), 1000);
    folder = dir.Text("lib");
    ASSERT_EQ(list.MakeTargetName(dir.Text("src/c.mp3"), folder, name, 0), 0);
    EXPECT_EQ(name, AString("05 Already 1.mp3"));
    EXPECT_EQ(list.MakeTargetName(dir.Text("src/missing.mp3"), folder, name, 0), kErrorFileNotFound);
}

TEST(ADirSongTest, SameSongNeedsEqualAudioAndNoArtists) {
    TempDir dir;
    TestSongTags tags;
    tags.title = "One";
    WriteSongFile(dir.File("a.mp3"), MakeMp3(tags));
    tags.title = "Other title, same audio";
    WriteSongFile(dir.File("b.mp3"), MakeMp3(tags));
    tags.artist = "Someone";
    WriteSongFile(dir.File("c.mp3"), MakeMp3(tags));
    tags.audioFrames = 5;
    WriteSongFile(dir.File("d.mp3"), MakeMp3(tags));
    ADirSong list;
    EXPECT_EQ(list.IsSameSong(dir.Text("a.mp3"), dir.Text("b.mp3"), 1), 1);
    EXPECT_EQ(list.IsSameSong(dir.Text("a.mp3"), dir.Text("c.mp3"), 1), 0);
    EXPECT_EQ(list.IsSameSong(dir.Text("a.mp3"), dir.Text("c.mp3"), 0), 1);
    EXPECT_EQ(list.IsSameSong(dir.Text("c.mp3"), dir.Text("d.mp3"), 0), 0);
}

TEST(ADirSongTest, RemovedScrambledFileTakesItsTitleInItsSongFolder) {
    TempDir dir;
    TestSongTags tags;
    tags.title = "Who?";
    tags.artist = "Band";
    tags.album = "Record";
    WriteSongFile(dir.File("pod/Music/F01/KQZD.mp3"), MakeMp3(tags));
    WriteSongFile(dir.File("pod/Music/F02/ABCD.mp3"), MakeMp3(tags));
    ADirSong list;
    list.SetRootPath(dir.Text("pod/Music"));
    ASSERT_EQ(list.DeleteFile(dir.Text("pod/Music/F01/KQZD.mp3"), 1, 0), 0);
    ASSERT_EQ(list.DeleteFile(dir.Text("pod/Music/F02/ABCD.mp3"), 1, 0), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.File("pod/Removed Files/Band/Record/Who_.mp3")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("pod/Removed Files/Band/Record/Who_~.mp3")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("pod/Music/F01/KQZD.mp3")));
}

TEST(ADirSongTest, RecordRoundTripsWithItsOptions) {
    ADirSong list;
    list.SetPreferredTypes(AString(":m4a:"));
    list.SetGenreFilter(Filter(1, ":Rock:", ":Pop:"));
    list.SetTitleFilter(Filter(2, "", ":Live:"));
    list.SetTrackLevel(1);
    list.SetEntryOption(5);
    list.SetAddState(1);
    list.SetLargestOverNewest(0);
    list.SetAllowedAppleIDs(AString(":me:"));
    AMemFile saved;
    ASSERT_EQ(list.Save(saved, 0), 0);
    ADirSong copy;
    AMemFile reader(saved.GetBuffer(), saved.GetSize());
    ASSERT_EQ(copy.Load(reader, 0), 0);
    EXPECT_EQ(reader.GetPosition(), saved.GetSize());
    AMemFile again;
    ASSERT_EQ(copy.Save(again, 0), 0);
    EXPECT_EQ(std::vector<uint8_t>(again.GetBuffer(), again.GetBuffer() + again.GetSize()),
              std::vector<uint8_t>(saved.GetBuffer(), saved.GetBuffer() + saved.GetSize()));

    ADir plain;
    AMemFile plainRecord;
    ASSERT_EQ(plain.Save(plainRecord, 0), 0);
    AMemFile plainReader(plainRecord.GetBuffer(), plainRecord.GetSize());
    EXPECT_EQ(copy.Load(plainReader, 0), kErrorVersion);

    ADirSong target;
    target.CopySettings(copy);
    EXPECT_EQ(target.GetTrackLevel(), 1u);
    EXPECT_EQ(target.GetAddState(), 0u);
    EXPECT_EQ(target.GetGenreFilter().drop, AString(":Pop:"));
    EXPECT_EQ(target.GetAllowedAppleIDs(), AString(":me:"));
}

TEST(ADirSongTest, QuickScanRefusesABusyList) {
    ADirSong list;
    ASSERT_EQ(list.GetLock().TryLock(), 1);
    EXPECT_EQ(list.FindDuplicates(0, 1, 1, CancelCallback(), 0), kErrorBusy);
    list.GetLock().Unlock();
    EXPECT_EQ(list.FindDuplicates(0, 1, 1, CancelCallback(), 0), 0);
    EXPECT_FALSE(list.GetLock().IsLocked());
}

TEST(ADirSongTest, OperationsASongSourceLacks) {
    ADirSong list;
    std::vector<AString> names;
    EXPECT_EQ(list.GetPlayListNames(names, 1, 0), kErrorNotSupported);
    EXPECT_EQ(list.AddSong(AString("/a.mp3"), CancelCallback()), kErrorNotSupported);
    EXPECT_EQ(list.CreatePlayList(AString("x")), kErrorEndOfStream);
    EXPECT_EQ(list.DeletePlayList(AString("x")), kErrorEndOfStream);
    std::vector<uint8_t> art{1, 2};
    EXPECT_EQ(list.SaveArtwork(AString("e"), 0, art), 0);
    EXPECT_TRUE(art.empty());
}
