#include "library/songlists/ADirSongDir.h"

#include "foundation/AFileList.h"
#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/itunes/RecordBytes.h"
#include "library/songlists/AddFileSongInfo.h"
#include "library/songlists/TestSongFiles.h"
#include "support/AStringPrinting.h"
#include "support/FileNameCases.h"
#include "support/RecordingUserInterface.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

constexpr int kFrameBytes = 417;

std::vector<std::string> EntriesOf(ADir& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetCount(); ++i)
        entries.push_back(list.GetEntry(i)->ToUtf8());
    return entries;
}

// The entry texts without their "?" tails.
std::set<std::string> SongNames(ADir& list) {
    std::set<std::string> names;
    for (const std::string& entry : EntriesOf(list))
        names.insert(entry.substr(0, entry.rfind('?')));
    return names;
}

class SongFolder : public ::testing::Test {
protected:
    void SetUp() override {
        Put("Rock/ACDC/Live/tnt.mp3", SongTags("Rock", "AC/DC", "Live", "T.N.T.", "3"));
        Put("Pop/abba.mp3", SongTags("Pop", "Abba", "Gold", "Waterloo", "1"));
        Put("Pop/untitled.mp3", SongTags("", "", "", ""));
        WriteTextFile(dir.File("music/notes.txt"), "not a song");
    }

    void Put(const std::string& name, const TestSongTags& tags) {
        WriteSongFile(dir.File("music/" + name), MakeMp3(tags));
    }

    // Copies of one song that differ only in their file names: the same size and time.
    void PutEqualCopies(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            Put(name, SongTags("Pop", "Abba", "Gold", "Fernando", "2"));
            ASSERT_EQ(SetFileModTime(dir.Text(std::string("music/") + name), UnixToMacTime(1000000), false),
                      0);
        }
    }

    int Open(ADirSongDir& list) {
        const AString root = dir.Text("music");
        return list.Open(&root, 0, CancelCallback());
    }

    TempDir dir;
};

} // namespace

TEST_F(SongFolder, ReadsEachSongFileIntoItsEntryText) {
    ADirSongDir list;
    EXPECT_EQ(list.GetType(), 10003u);
    ASSERT_EQ(Open(list), 0);
    const std::string untaggedSize = std::to_string(4 * kFrameBytes);
    EXPECT_EQ(SongNames(list),
              (std::set<std::string>{"\\Rock\\AC_DC\\Live\\T.N.T.\\mp3", "\\Pop\\Abba\\Gold\\Waterloo\\mp3",
                                     "\\*\\" + untaggedSize + "\\*\\untitled\\mp3"}));
    // Each entry ends in the index of its file; folders and other types are not listed.
    for (int i = 0; i < list.GetCount(); ++i) {
        AString path;
        ASSERT_EQ(list.GetFullPath(*list.GetEntry(i), path, 1), 0);
        EXPECT_TRUE(::FileExists(path)) << path.ToUtf8();
    }

    list.SetGenreLevel(0);
    list.SetTypeLevel(0);
    list.SetTrackLevel(1);
    ASSERT_EQ(Open(list), 0);
    EXPECT_EQ(SongNames(list), (std::set<std::string>{"\\AC_DC\\Live\\3\\T.N.T.", "\\Abba\\Gold\\1\\Waterloo",
                                                      "\\" + untaggedSize + "\\*\\0\\untitled"}));
}

TEST_F(SongFolder, FiltersKeepFilesOutOfTheSongList) {
    ADirSongDir list;
    list.SetGenreFilter({2, AString(), AString(":pop:")});
    ASSERT_EQ(Open(list), 0);
    EXPECT_EQ(SongNames(list),
              (std::set<std::string>{"\\Rock\\AC_DC\\Live\\T.N.T.\\mp3",
                                     "\\*\\" + std::to_string(4 * kFrameBytes) + "\\*\\untitled\\mp3"}));
    list.SetFlags(3);
    list.SetExcludeTypeList(AString(":mp3:"));
    ASSERT_EQ(Open(list), 0);
    EXPECT_EQ(list.GetCount(), 0);
}

// Unreadable tags must not give every such file the same empty name: the duplicate scan would then
// take unrelated files for copies of one song.
TEST_F(SongFolder, FilesWithUnreadableTagsAreNamedByTheirFileNames) {
    WriteTextFile(dir.File("music/broken one.mp3"), "short");
    WriteTextFile(dir.File("music/broken two.mp3"), "shorter!");
    ADirSongDir list;
    ASSERT_EQ(Open(list), 0);
    const std::set<std::string> names = SongNames(list);
    EXPECT_TRUE(names.count("\\*\\5\\*\\broken one\\mp3"));
    EXPECT_TRUE(names.count("\\*\\8\\*\\broken two\\mp3"));
    ASSERT_EQ(list.FindDuplicates(0, 1, 1, CancelCallback(), 0), 0);
    EXPECT_EQ(list.GetCount(), 5);
    // Each file is named in the log of the list's progress object, whether the caller gave one or not.
    const AString notice("Tags unreadable, listed by file name: ");
    EXPECT_NE(list.GetProgress().PendingLog().Find(notice + dir.Text("music/broken one.mp3"), 0, true), -1);
    AProgress given;
    ADirSongDir reporting(&given);
    ASSERT_EQ(Open(reporting), 0);
    EXPECT_NE(given.PendingLog().Find(notice + dir.Text("music/broken two.mp3"), 0, true), -1);
}

// The search runs in the direction of the last sort, so it finds entries after a descending sort too.
TEST_F(SongFolder, FindsEntriesAfterEitherSortAndUnsorted) {
    for (int i = 0; i < 40; ++i)
        Put("Many/" + std::to_string(i) + ".mp3",
            SongTags("Genre", ("Artist " + std::to_string(i % 7)).c_str(), "Album",
                     ("Title " + std::to_string(i)).c_str()));
    ADirSongDir list;
    ASSERT_EQ(Open(list), 0);
    for (const uint32_t ascending : {2u, 1u, 0u}) {
        if (ascending != 2)
            list.Sort(ascending);
        for (int i = 0; i < list.GetCount(); ++i) {
            const AString entry = *list.GetEntry(i);
            AString byIndex;
            AString bySearch;
            ASSERT_EQ(list.GetFullPath(entry, byIndex, 1), 0);
            ASSERT_EQ(list.GetFullPath(entry, bySearch, 0), 0) << entry.ToUtf8() << " sort " << ascending;
            EXPECT_EQ(bySearch, byIndex);
        }
    }
    AString path;
    const AString title0 = AString(u"\\Genre\\Artist 0\\Album\\Title 0\\mp3?");
    ASSERT_EQ(list.GetFullPath(title0, path, 0), 0);
    EXPECT_EQ(path, dir.Text("music/Many/0.mp3"));
    // The root in front and a missing leading '\' are allowed; the id after '?' does not count.
    ASSERT_EQ(
        list.GetFullPath(dir.Text("music/") + AString(u"Genre\\Artist 0\\Album\\Title 0\\MP3?999"), path, 0),
        0);
    EXPECT_EQ(path, dir.Text("music/Many/0.mp3"));
    ASSERT_EQ(list.GetFullPath(AString(u"\\Genre\\Artist 1\\Album\\Title 1\\mp3"), path, 0), 0);
    EXPECT_EQ(path, dir.Text("music/Many/1.mp3"));
    EXPECT_EQ(list.GetFullPath(AString(u"\\Genre\\Nobody\\Album\\X\\mp3?1"), path, 0),
              kErrorUnknownSongEntry);
    EXPECT_EQ(list.GetFullPath(AString(u"\\x?99999"), path, 1), kErrorUnknownSongEntry);
    EXPECT_EQ(list.GetFullPath(AString(u"\\x?-1"), path, 1), kErrorUnknownSongEntry);
    EXPECT_EQ(list.GetFileDate(AString(u"\\Genre\\Nobody\\Album\\X\\mp3?1")), 0u);
    EXPECT_EQ(list.FileExists(title0), 1u);
}

TEST_F(SongFolder, SortOrdersEntriesIgnoringCase) {
    ADirSongDir list;
    ASSERT_EQ(Open(list), 0);
    list.Sort(1);
    const std::vector<std::string> ascending = EntriesOf(list);
    EXPECT_EQ(ascending.front().substr(0, 5), "\\*\\16");
    EXPECT_EQ(ascending.back().substr(0, 6), "\\Rock\\");
    list.Sort(0);
    const std::vector<std::string> descending = EntriesOf(list);
    EXPECT_EQ(std::vector<std::string>(descending.rbegin(), descending.rend()), ascending);
}

// Saved lists travel between computers: every field in its place, spelled out here byte by byte.
TEST(ADirSongDirRecord, FieldsStandInTheirOrder) {
    ADirSongDir list;
    list.SetRootPath(AString("/m"));
    list.SetRecordFlag(5);
    list.SetFlags(3);
    list.SetTypeList(AString(":a:"));
    list.SetExcludeTypeList(AString(":b:"));
    list.SetNameFilter(2, AString(":c:"), AString(":d:"));
    list.SetAskOnError(6);
    list.SetKeepRemovedFiles(7);
    list.SetLogTime(8);
    list.SetCopyMode(9);
    list.SetRemovedFilesFolder(AString("/r"));
    list.SetPreferredTypes(AString(":p:"));
    list.SetGenreFilter({11, AString(":g:"), AString(":h:")});
    list.SetArtistFilter({12, AString(":i:"), AString(":j:")});
    list.SetAlbumFilter({13, AString(":k:"), AString(":l:")});
    list.SetTitleFilter({14, AString(":n:"), AString(":o:")});
    list.SetLargestOverNewest(21);
    list.SetSizeMatchesTarget(22);
    list.SetTypeLevel(23);
    list.SetGenreLevel(24);
    list.SetEntryOption(25);
    list.SetTrackLevel(26);
    list.SetAlbumLevel(27);
    list.SetProtectedFiles(28);
    list.SetOnlyMyAppleIDs(29);
    list.SetAddState(30);
    list.SetAllowedAppleIDs(AString(":me:"));

    AMemFile emptyFileList;
    ASSERT_EQ(AFileList().Serialize(emptyFileList), 0);
    const Bytes fileList(emptyFileList.GetBuffer(), emptyFileList.GetBuffer() + emptyFileList.GetSize());
    Bytes expected;
    for (const uint32_t word : {10002u, 0x0010000Bu, 0x0010000Du})
        AppendU32(expected, word);
    AppendTextRecord(expected, u"/m/");
    AppendU32(expected, 5);
    AppendU32(expected, 3);
    AppendTextRecord(expected, u":a:");
    AppendTextRecord(expected, u":b:");
    AppendU32(expected, 2);
    AppendTextRecord(expected, u":c:");
    AppendTextRecord(expected, u":d:");
    expected.insert(expected.end(), fileList.begin(), fileList.end());
    for (const uint32_t word : {0u, 6u, 7u, 8u, 9u})
        AppendU32(expected, word);
    AppendTextRecord(expected, u"/r");
    AppendTextRecord(expected, u":p:");
    const std::u16string filterLists[] = {u":g:", u":h:", u":i:", u":j:", u":k:", u":l:", u":n:", u":o:"};
    for (uint32_t filter = 0; filter < 4; ++filter) {
        AppendU32(expected, 11 + filter);
        AppendTextRecord(expected, filterLists[2 * filter]);
        AppendTextRecord(expected, filterLists[2 * filter + 1]);
    }
    for (uint32_t word = 21; word <= 30; ++word)
        AppendU32(expected, word);
    AppendTextRecord(expected, u":me:");
    expected.insert(expected.end(), fileList.begin(), fileList.end());

    AMemFile saved;
    ASSERT_EQ(list.Save(saved, 0), 0);
    EXPECT_EQ(Bytes(saved.GetBuffer(), saved.GetBuffer() + saved.GetSize()), expected);
}

TEST_F(SongFolder, SavedListLoadsBackEqual) {
    ADirSongDir list;
    ASSERT_EQ(Open(list), 0);
    list.Sort(0);
    AMemFile saved;
    ASSERT_EQ(list.Save(saved, 1), 0);
    EXPECT_EQ(LoadLE32(saved.GetBuffer()), 10002u);
    EXPECT_EQ(LoadLE32(saved.GetBuffer() + 4), 0x0010000Bu);

    ADirSongDir copy;
    AMemFile reader(saved.GetBuffer(), saved.GetSize());
    ASSERT_EQ(copy.Load(reader, 0), 0);
    EXPECT_EQ(EntriesOf(copy), EntriesOf(list));
    for (int i = 0; i < copy.GetCount(); ++i) {
        AString path;
        EXPECT_EQ(copy.GetFullPath(*copy.GetEntry(i), path, 0), 0);
    }
    AMemFile again;
    ASSERT_EQ(copy.Save(again, 0), 0);
    EXPECT_EQ(std::vector<uint8_t>(again.GetBuffer(), again.GetBuffer() + again.GetSize()),
              std::vector<uint8_t>(saved.GetBuffer(), saved.GetBuffer() + saved.GetSize()));

    AMemFile wrong;
    recordio::WriteU32(wrong, 10006);
    AMemFile wrongReader(wrong.GetBuffer(), wrong.GetSize());
    EXPECT_EQ(copy.Load(wrongReader, 0), kErrorVersion);
    EXPECT_EQ(copy.GetCount(), list.GetCount());
}

// A sync compares two lists by what their scans read, without asking each file again; a loaded list
// read nothing and answers nothing.
TEST_F(SongFolder, EachEntryKeepsTheSizeAndTimeItsFileWasListedWith) {
    ASSERT_EQ(SetFileModTime(dir.Text("music/Pop/abba.mp3"), UnixToMacTime(1000000), false), 0);
    ADirSongDir list;
    ASSERT_EQ(Open(list), 0);
    ASSERT_EQ(list.GetCount(), 3);
    list.Sort(1);
    for (int i = 0; i < list.GetCount(); ++i) {
        AString path;
        ASSERT_EQ(list.GetFullPath(*list.GetEntry(i), path, 1), 0);
        FileInfo info;
        ASSERT_TRUE(list.GetListedFileInfo(list.GetRootPath() + *list.GetEntry(i), info)) << path.ToUtf8();
        EXPECT_EQ(info.size, GetFileSize64(path));
        EXPECT_EQ(info.modTime, GetFileModTime(path));
    }
    FileInfo info;
    const std::vector<std::string> entries = EntriesOf(list);
    const auto abbaEntry = std::find_if(entries.begin(), entries.end(), [](const std::string& entry) {
        return entry.starts_with("\\Pop\\Abba");
    });
    ASSERT_NE(abbaEntry, entries.end());
    const AString abba(abbaEntry->c_str());
    ASSERT_TRUE(list.GetListedFileInfo(abba, info));
    EXPECT_EQ(info.modTime, UnixToMacTime(1000000));
    // What was read stays what was read.
    TestSongTags longer = SongTags("Pop", "Abba", "Gold", "Waterloo", "1");
    longer.audioFrames = 9;
    Put("Pop/abba.mp3", longer);
    FileInfo again;
    ASSERT_TRUE(list.GetListedFileInfo(abba, again));
    EXPECT_EQ(again.size, info.size);
    EXPECT_FALSE(list.GetListedFileInfo(AString(u"\\x?99"), info));
    EXPECT_FALSE(list.GetListedFileInfo(AString(u"\\x"), info));

    AMemFile saved;
    ASSERT_EQ(list.Save(saved, 0), 0);
    AMemFile reader(saved.GetBuffer(), saved.GetSize());
    ADirSongDir loaded;
    ASSERT_EQ(loaded.Load(reader, 0), 0);
    EXPECT_FALSE(loaded.GetListedFileInfo(abba, info));

    ADirSongDir added;
    added.SetRootPath(dir.Text("music"));
    ASSERT_EQ(added.AddEntry(AString("Rock/ACDC/Live/tnt.mp3"), 0), 0);
    ASSERT_TRUE(added.GetListedFileInfo(*added.GetEntry(0), info));
    EXPECT_EQ(info.size, GetFileSize64(dir.Text("music/Rock/ACDC/Live/tnt.mp3")));
}

// A record cut after its file list: the song entries of the list as it was would name other files by
// their "?" indexes (and a removal would then move the wrong file), so none are left.
TEST_F(SongFolder, ALoadThatFailsAfterTheFileListLeavesNoSongEntries) {
    TempDir other;
    WriteSongFile(other.File("music/only.mp3"), MakeMp3(SongTags("Jazz", "Solo", "One", "Only")));
    ADirSongDir small;
    const AString otherRoot = other.Text("music");
    ASSERT_EQ(small.Open(&otherRoot, 0, CancelCallback()), 0);
    AMemFile saved;
    ASSERT_EQ(small.Save(saved, 0), 0);

    ADirSongDir list;
    ASSERT_EQ(Open(list), 0);
    ASSERT_EQ(list.GetCount(), 3);
    AMemFile songRecord;
    ASSERT_EQ(small.ADirSong::Save(songRecord, 0), 0);
    const uint32_t cut = 4 + songRecord.GetSize() - 1; // the leading word, the options but their last byte
    AMemFile reader(saved.GetBuffer(), cut);
    EXPECT_LT(list.Load(reader, 0), 0);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(SongFolder, QuickScanKeepsTheCopyTheKeepRuleChooses) {
    Put("Copies/Waterloo.mp3", SongTags("Pop", "Abba", "Gold", "Waterloo", "1"));
    TestSongTags longer = SongTags("Pop", "Abba", "Gold", "Waterloo", "1");
    longer.audioFrames = 6;
    Put("Copies/Waterloo 1.mp3", longer);
    ADirSongDir list;
    ASSERT_EQ(Open(list), 0);
    ASSERT_EQ(list.FindDuplicates(0, 1, 1, CancelCallback(), 0), 0);
    int waterloo = 0;
    AString kept;
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.GetEntry(i)->Find(AString("Waterloo"), 0, true) >= 0) {
            ++waterloo;
            ASSERT_EQ(list.GetFullPath(*list.GetEntry(i), kept, 1), 0);
        }
    }
    EXPECT_EQ(waterloo, 1);
    EXPECT_EQ(kept, dir.Text("music/Copies/Waterloo 1.mp3")); // the largest file
    EXPECT_TRUE(std::filesystem::exists(dir.File("music/Pop/abba.mp3")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("music/Copies/Waterloo.mp3")));
    EXPECT_EQ(list.GetCount(), 3);
}

TEST_F(SongFolder, QuickScanKeepsTheUnnumberedNameOfEqualCopies) {
    PutEqualCopies({"Copies/Fernando 2.mp3", "Copies/Fernando.mp3", "Copies/Fernando 1.mp3"});
    ADirSongDir list;
    ASSERT_EQ(Open(list), 0);
    ASSERT_EQ(list.FindDuplicates(0, 1, 0, CancelCallback(), 0), 0);
    AString kept;
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.GetEntry(i)->Find(AString("Fernando"), 0, true) >= 0) {
            ASSERT_EQ(list.GetFullPath(*list.GetEntry(i), kept, 1), 0);
        }
    }
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_EQ(kept, dir.Text("music/Copies/Fernando.mp3"));
}

TEST_F(SongFolder, AConfirmedScanAsksForEachDuplicate) {
    Put("Copies/Waterloo.mp3", SongTags("Pop", "Abba", "Gold", "Waterloo", "1"));
    Put("Copies/Waterloo 1.mp3", SongTags("Pop", "Abba", "Gold", "Waterloo", "1"));
    ADirSongDir list;
    ASSERT_EQ(Open(list), 0);
    RecordingUserInterface user;
    user.QueueAnswers({1, -1}); // No, then a question closed without an answer
    ASSERT_EQ(list.FindDuplicates(0, 1, 1, CancelCallback(), 1), 0);
    EXPECT_EQ(list.GetCount(), 5);
    ASSERT_EQ(user.alerts.size(), 2u);
    EXPECT_EQ(
        user.alerts[0].message.Find(AString("Detected Dup: \\Pop\\Abba\\Gold\\Waterloo\\mp3 from "), 0, true),
        0);
    user.QueueAnswers({2});
    ASSERT_EQ(list.FindDuplicates(0, 1, 1, CancelCallback(), 1), 0);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(user.alerts.size(), 3u);
}

// Every removal is decided before the first question: a copy the user keeps is not proposed again.
TEST_F(SongFolder, ACopyTheUserKeepsIsNotAskedAboutAgain) {
    PutEqualCopies({"Copies/Fernando.mp3", "Copies/Fernando 1.mp3", "Copies/Fernando 2.mp3"});
    ADirSongDir list;
    ASSERT_EQ(Open(list), 0);
    RecordingUserInterface user;
    user.QueueAnswers({1, 0}); // No, then Yes
    ASSERT_EQ(list.FindDuplicates(0, 1, 1, CancelCallback(), 1), 0);
    ASSERT_EQ(user.alerts.size(), 2u);
    EXPECT_NE(user.alerts[0].message, user.alerts[1].message);
    EXPECT_EQ(list.GetCount(), 5);
    // The copy the user kept is still listed.
    const AString refused = user.alerts[0].message;
    const AString refusedFile = refused.Mid(refused.Find(AString(" from "), 0, true) + 6);
    bool listed = false;
    for (int i = 0; i < list.GetCount(); ++i) {
        AString path;
        ASSERT_EQ(list.GetFullPath(*list.GetEntry(i), path, 1), 0);
        listed = listed || path == refusedFile;
    }
    EXPECT_TRUE(listed) << refusedFile.ToUtf8();
}

TEST_F(SongFolder, RemovingWithTheFileKeepsTheFileIndexesValid) {
    ADirSongDir list;
    ASSERT_EQ(Open(list), 0);
    list.Sort(1);
    const int last = list.GetCount() - 1;
    AString lastPath;
    ASSERT_EQ(list.GetFullPath(*list.GetEntry(last), lastPath, 1), 0);
    int rock = -1;
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.GetEntry(i)->Find(AString("T.N.T."), 0, true) >= 0)
            rock = i;
    }
    ASSERT_GE(rock, 0);
    ASSERT_EQ(list.RemoveEntry(rock, 1, 0), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("music/Rock/ACDC/Live/tnt.mp3")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("Removed Files/AC_DC/Live/tnt.mp3")));
    EXPECT_EQ(list.GetCount(), 2);
    for (int i = 0; i < list.GetCount(); ++i) {
        AString path;
        ASSERT_EQ(list.GetFullPath(*list.GetEntry(i), path, 0), 0);
        EXPECT_TRUE(::FileExists(path));
    }
    EXPECT_EQ(list.RemoveEntry(5, 0, 0), kErrorInvalidElement);
}

TEST_F(SongFolder, AddEntryTakesFilesAndFilteredFolders) {
    ADirSongDir list;
    list.SetRootPath(dir.Text("music"));
    EXPECT_EQ(list.AddEntry(AString("Pop/abba.mp3"), 0), 0);
    EXPECT_EQ(EntriesOf(list), std::vector<std::string>{"\\Pop\\Abba\\Gold\\Waterloo\\mp3?0"});
    EXPECT_EQ(list.AddEntry(AString("missing.mp3"), 0), kErrorEndOfStream);
    EXPECT_EQ(list.AddEntry(AString("Rock"), 0), kErrorEndOfStream);

    // A folder added with its files passes them through the list's own filters.
    Put("Rock/other.mp3", SongTags("Rock", "Band", "Demo Tape", "Demo"));
    WriteTextFile(dir.File("music/Rock/cover.txt"), "no song");
    list.SetAlbumFilter({2, AString(), AString(":Demo Tape:")});
    EXPECT_EQ(list.AddEntry(AString("Rock"), 1), kErrorEndOfStream);
    EXPECT_EQ(SongNames(list), (std::set<std::string>{"\\Pop\\Abba\\Gold\\Waterloo\\mp3",
                                                      "\\Rock\\AC_DC\\Live\\T.N.T.\\mp3"}));
}

TEST_F(SongFolder, AddFileGivesTheSongsDurationAndBitRate) {
    TestSongTags tags = SongTags("Pop", "Abba", "Gold", "Long");
    tags.audioFrames = 200;
    Put("Pop/long.mp3", tags);
    ADirSongDir list;
    ASSERT_EQ(Open(list), 0);
    list.Sort(1);
    AddFileSongInfo info;
    info.duration = 99;
    EXPECT_EQ(list.AddFile(AString(u"\\Pop\\Abba\\Nothing\\mp3?1"), info), kErrorUnknownSongEntry);
    EXPECT_EQ(info.duration, 99u);
    ASSERT_EQ(list.AddFile(AString(u"\\Pop\\Abba\\Gold\\Long\\mp3?"), info), 0);
    EXPECT_EQ(info.bitRate, 128u);
    EXPECT_EQ(info.duration, 5u);
}

TEST_F(SongFolder, CopySongFileFilesTheSongUnderItsOrganisedName) {
    TempDir library;
    ADirSongDir list;
    list.SetRootPath(AString(library.Path().c_str()));
    const AString source = dir.Text("music/Rock/ACDC/Live/tnt.mp3");
    ASSERT_EQ(list.CopySongFile(source, AString(), 0), 0);
    EXPECT_EQ(ReadBytes(library.File("AC_DC/Live/03 T.N.T..mp3")),
              ReadBytes(dir.File("music/Rock/ACDC/Live/tnt.mp3")));
    // The copy is the same song: nothing is copied again.
    ASSERT_EQ(list.CopySongFile(source, AString(), 0), 0);
    EXPECT_FALSE(std::filesystem::exists(library.File("AC_DC/Live/03 T.N.T. 1.mp3")));
    EXPECT_EQ(list.CopySongFile(dir.Text("music/none.mp3"), AString(), 0), kErrorFileNotFound);
}

TEST_F(SongFolder, CancelWhileReadingTags) {
    ADirSongDir list;
    int asked = 0;
    const AString root = dir.Text("music");
    // The scan asks about each of its eight folder entries, then the tags of each song are read.
    EXPECT_EQ(list.Open(&root, 0, [&asked] { return ++asked > 9 ? 1 : 0; }), kUserCancel);
}

// File names are bytes: a song whose name is no valid UTF-8 is listed, read, saved and removed like
// any other.
TEST(SongFolderNames, NamesThatAreNoUtf8AreListedReadSavedAndRemoved) {
    for (const FileNameCase& c : NamesOfEveryKind()) {
        TempDir dir;
        const std::string song = dir.File("music/" + c.name + "/" + c.name + ".mp3");
        WriteSongFile(song, MakeMp3(SongTags("Pop", "Band", "Album", "Tagged Title")));
        ADirSongDir list;
        const AString root = dir.Text("music");
        ASSERT_EQ(list.Open(&root, 0, CancelCallback()), 0) << c.what;
        ASSERT_EQ(list.GetCount(), 1) << c.what;
        EXPECT_EQ(SongNames(list), std::set<std::string>{"\\Pop\\Band\\Album\\Tagged Title\\mp3"})
            << c.what << ": the tags were read";

        AMemFile saved;
        ASSERT_EQ(list.Save(saved, 0), 0);
        ADirSongDir loaded;
        AMemFile reader(saved.GetBuffer(), saved.GetSize());
        ASSERT_EQ(loaded.Load(reader, 0), 0) << c.what;
        AString path;
        ASSERT_EQ(loaded.GetFullPath(*loaded.GetEntry(0), path, 0), 0);
        EXPECT_EQ(path.ToSystem8Bit(), song) << c.what;

        ASSERT_EQ(loaded.RemoveEntry(0, 1, 0), 0) << c.what;
        EXPECT_FALSE(std::filesystem::exists(song)) << c.what;
        EXPECT_TRUE(std::filesystem::exists(dir.File("Removed Files/Band/Album/" + c.name + ".mp3")))
            << c.what;
    }
}
