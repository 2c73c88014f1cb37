// Writing the database back to the drive, the Shuffle's iTunesSD, and the iPod identifier.
#include "DatabaseBytes.h"
#include "PodDrive.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "library/entries/FileNameRule.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/PodSongInfo.h"
#include "platform/files/NativeFiles.h"
#include "platform/volumes/VolumeTable.h"
#include "support/AStringPrinting.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using Bytes = std::vector<uint8_t>;

PodSongInfo Song(const char* title, const AString& path) {
    PodSongInfo song;
    song.title = song.displayName = title;
    song.artist = "Artist";
    song.path = path;
    return song;
}

Bytes ShuffleBytes(const ITunesDB& db) {
    AMemFile stream;
    EXPECT_EQ(0, db.WriteShuffleDB(&stream));
    return Bytes(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

Bytes ExpectedEntry(const std::u16string& path, uint8_t fileType) {
    Bytes entry(558, 0);
    const uint8_t start[] = {0x00, 0x02, 0x2E, 0x5A, 0xA5, 0x01};
    std::copy(std::begin(start), std::end(start), entry.begin());
    entry[26] = 0x64; // volume: no adjustment
    entry[29] = fileType;
    entry[31] = 2;
    for (size_t i = 0; i < path.size(); ++i) {
        entry[33 + 2 * i] = static_cast<uint8_t>(path[i]);
        entry[34 + 2 * i] = static_cast<uint8_t>(path[i] >> 8);
    }
    entry[555] = 1;
    return entry;
}

// Every folder is a volume with the given serial, or none is.
class FixedVolumeSerial : public nativevolumes::VolumeTable {
public:
    FixedVolumeSerial(bool known, uint32_t serial) : m_known(known), m_serial(serial) { SetInstance(this); }
    ~FixedVolumeSerial() override { SetInstance(nullptr); }
    std::vector<nativevolumes::Volume> List() const override {
        if (!m_known)
            return {};
        return {{"/media/ipod", m_serial}, {PodDriveRoot(), m_serial}};
    }
    std::string PodDriveRoot() const { return m_podRoot; }
    void SetPodRoot(const std::string& root) { m_podRoot = root; }

private:
    bool m_known;
    uint32_t m_serial;
    std::string m_podRoot;
};

class GpodDrive : public ::testing::Test {
protected:
    void SetUp() override {
        const AString root = m_drive.Root();
        ASSERT_EQ(0, m_db.ReadLibrary(&root, true, nullptr, nullptr));
    }

    PodDrive m_drive{FixtureBytes("ipod/gpod-three-tracks.itdb")};
    ITunesDB m_db;
};

} // namespace

TEST_F(GpodDrive, SaveReplacesTheDatabaseAndWritesTheShuffleTable) {
    const Bytes before = ReadBytes(m_drive.DatabaseFile());
    const std::string other = m_drive.File("iPod_Control/iTunes/iTunesDB.0");
    WriteBytes(other, {'k'}); // not ours: left alone
    ASSERT_EQ(0, m_db.Save(nullptr));
    EXPECT_NE(before, ReadBytes(m_drive.DatabaseFile()));
    EXPECT_EQ((std::vector<std::string>{"iTunesDB", "iTunesDB.0", "iTunesSD"}),
              m_drive.DatabaseFolderNames());
    EXPECT_EQ(Bytes{'k'}, ReadBytes(other));
    const Bytes shuffle = ReadBytes(m_drive.ShuffleFile());
    ASSERT_EQ(18u + 3 * 558u, shuffle.size());
    EXPECT_EQ((Bytes{0x00, 0x00, 0x03}), Bytes(shuffle.begin(), shuffle.begin() + 3));
}

TEST_F(GpodDrive, SaveToAnotherRootLeavesTheStoredDriveAlone) {
    PodDrive other;
    const AString otherRoot = other.Root();
    const Bytes before = ReadBytes(m_drive.DatabaseFile());
    ASSERT_EQ(0, m_db.Save(&otherRoot));
    EXPECT_EQ(before, ReadBytes(m_drive.DatabaseFile()));
    EXPECT_EQ((std::vector<std::string>{"iTunesDB", "iTunesSD"}), other.DatabaseFolderNames());
}

TEST_F(GpodDrive, FailedSaveLeavesTheOldDatabaseAsItWas) {
    const Bytes before = ReadBytes(m_drive.DatabaseFile());
    ASSERT_EQ(0, chmod(m_drive.DatabaseFile().c_str(), 0444));
    m_db.AddTrack(Song("New", AString("/iPod_Control/Music/F00/NEWW.mp3")), nullptr, true);
    EXPECT_NE(0, m_db.Save(nullptr));
    EXPECT_EQ(before, ReadBytes(m_drive.DatabaseFile()));
    EXPECT_EQ((std::vector<std::string>{"iTunesDB"}), m_drive.DatabaseFolderNames());
}

TEST_F(GpodDrive, ShuffleTableThatCannotBeWrittenLeavesTheDatabaseAsItWas) {
    ASSERT_TRUE(nativefiles::MakeDirectory(m_drive.ShuffleFile()));
    const Bytes before = ReadBytes(m_drive.DatabaseFile());
    EXPECT_NE(0, m_db.Save(nullptr));
    EXPECT_EQ(before, ReadBytes(m_drive.DatabaseFile()));
    EXPECT_EQ((std::vector<std::string>{"iTunesDB", "iTunesSD"}), m_drive.DatabaseFolderNames());
}

TEST_F(GpodDrive, SaveThroughAWorkFolderLeavesNoTemporaryFileBehind) {
    TempDir work;
    WriteBytes(work.File("temp.0"), {'k'}); // taken: the save uses the next free name
    m_db.SetTempFolder(AString(work.Path()));
    ASSERT_EQ(0, m_db.AddTrack(Song("New", AString("/iPod_Control/Music/F00/NEWW.mp3")), nullptr, true));
    ASSERT_EQ(0, m_db.Save(nullptr));
    ITunesDB again;
    const AString root = m_drive.Root();
    ASSERT_EQ(0, again.ReadLibrary(&root, true, nullptr, nullptr));
    EXPECT_EQ(4, again.GetSongCount());
    EXPECT_EQ((std::vector<std::string>{"iTunesDB", "iTunesSD"}), m_drive.DatabaseFolderNames());
    std::vector<nativefiles::DirectoryEntry> left;
    ASSERT_TRUE(nativefiles::ListDirectory(work.Path(), left));
    ASSERT_EQ(1u, left.size());
    EXPECT_EQ(Bytes{'k'}, ReadBytes(work.File("temp.0")));
}

TEST_F(GpodDrive, RootWithoutDatabaseFolderCannotBeOpened) {
    TempDir empty;
    const AString root(empty.Path());
    EXPECT_EQ(kErrorOpen, m_db.Save(&root));
    std::vector<nativefiles::DirectoryEntry> entries;
    ASSERT_TRUE(nativefiles::ListDirectory(empty.Path(), entries));
    EXPECT_TRUE(entries.empty());
}

TEST_F(GpodDrive, WorkFolderThatCannotBeWrittenFailsBeforeTheSwap) {
    TempDir work;
    m_db.SetTempFolder(AString(work.File("missing")));
    const Bytes before = ReadBytes(m_drive.DatabaseFile());
    EXPECT_NE(0, m_db.Save(nullptr));
    EXPECT_EQ(before, ReadBytes(m_drive.DatabaseFile()));
    EXPECT_EQ((std::vector<std::string>{"iTunesDB"}), m_drive.DatabaseFolderNames());
}

TEST(ITunesDBSave, OnlyALibraryReadWithPlaylistsMayBeSaved) {
    PodDrive drive(FixtureBytes("ipod/gpod-three-tracks.itdb"));
    const Bytes before = ReadBytes(drive.DatabaseFile());
    const AString root = drive.Root();
    ITunesDB fresh;
    EXPECT_EQ(kErrorNotReadForSave, fresh.Save(&root));
    ITunesDB names;
    ASSERT_EQ(0, names.Read(root, true));
    EXPECT_EQ(kErrorNotReadForSave, names.Save(nullptr));
    ITunesDB tracksOnly;
    ASSERT_EQ(0, tracksOnly.ReadLibrary(&root, false, nullptr, nullptr));
    EXPECT_EQ(kErrorNotReadForSave, tracksOnly.Save(nullptr));
    // A tree that replaced the whole database is not the whole database any more.
    ITunesDB namesAfter;
    ASSERT_EQ(0, namesAfter.ReadLibrary(&root, true, nullptr, nullptr));
    ASSERT_EQ(0, namesAfter.Read(root, true));
    EXPECT_EQ(kErrorNotReadForSave, namesAfter.Save(nullptr));
    ITunesDB failedLoad;
    ASSERT_EQ(0, failedLoad.ReadLibrary(&root, true, nullptr, nullptr));
    AMemFile record;
    recordio::WriteU32(record, ITunesDB::kRecordVersion + 1);
    record.Seek(0);
    EXPECT_EQ(kErrorVersion, failedLoad.Load(&record));
    EXPECT_EQ(kErrorNotReadForSave, failedLoad.Save(nullptr));
    EXPECT_EQ(before, ReadBytes(drive.DatabaseFile()));
    EXPECT_EQ((std::vector<std::string>{"iTunesDB"}), drive.DatabaseFolderNames());
}

TEST(ITunesSDTable, EntriesFollowTheDatabaseOrderWithTypeVolumeAndPath) {
    // Tracks in an order their title buckets do not follow, then one added.
    using namespace dbbytes;
    const std::vector<TrackFields> tracks = {
        {1, u"Zulu", u"Artist", u"", u"", u":iPod_Control:Music:F02:CCCC.WAV", 100},
        {2, u"Alpha", u"Artist", u"", u"", u":iPod_Control:Music:F00:AAAA.mp3", 200},
        {3, u"Mike", u"Artist", u"", u"", u":iPod_Control:Music:F01:BBBB.M4A", 300},
    };
    const auto bucket = [](const TrackFields& track) { return NameChecksum(AString(track.title)) % 100; };
    EXPECT_FALSE(std::is_sorted(tracks.begin(), tracks.end(),
                                [&](const auto& a, const auto& b) { return bucket(a) < bucket(b); }));
    std::vector<Bytes> trackBytes;
    for (const TrackFields& track : tracks)
        trackBytes.push_back(Track(track));
    PodDrive drive(Database(
        15, {DataSet(1, TrackList(trackBytes)), DataSet(2, PlayListList({PlayList(u"P", true, {})}))}));
    ITunesDB db;
    const AString root = drive.Root();
    ASSERT_EQ(0, db.ReadLibrary(&root, true, nullptr, nullptr));
    ASSERT_EQ(0, db.AddTrack(Song("Bravo", AString("iPod_Control/Music/F03/DDDD.aac")), nullptr, true));

    const Bytes expected = Concat({
        {0x00, 0x00, 0x04, 0x01, 0x07, 0x00, 0x00, 0x00, 0x12, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        ExpectedEntry(u"/iPod_Control/Music/F02/CCCC.WAV", 4),
        ExpectedEntry(u"/iPod_Control/Music/F00/AAAA.mp3", 1),
        ExpectedEntry(u"/iPod_Control/Music/F01/BBBB.M4A", 2),
        ExpectedEntry(u"/iPod_Control/Music/F03/DDDD.aac", 2),
    });
    EXPECT_EQ(expected, ShuffleBytes(db));
}

TEST(ITunesSDTable, EmptyDatabaseGivesTheHeaderOnly) {
    ITunesDB db;
    EXPECT_EQ((Bytes{0x00, 0x00, 0x00, 0x01, 0x07, 0x00, 0x00, 0x00, 0x12, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
              ShuffleBytes(db));
}

TEST(ITunesSDTable, PathTooLongForItsFieldIsCutToKeepTheEntryLength) {
    ITunesDB db;
    const std::u16string longName(300, u'x');
    db.AddTrack(Song("Long", AString(u"iPod_Control/Music/F00/") + longName.c_str() + ".mp3"), nullptr, true);
    const Bytes written = ShuffleBytes(db);
    ASSERT_EQ(18u + 558u, written.size());
    const std::u16string cut = (u"/iPod_Control/Music/F00/" + longName).substr(0, 261);
    EXPECT_EQ(ExpectedEntry(cut, 1), Bytes(written.begin() + 18, written.end()));
}

TEST(ITunesDBPodID, SerialNumberGivesTheIdentifier) {
    FixedVolumeSerial serial(true, 0x0000ABCD);
    ITunesDB db;
    ASSERT_EQ(0, db.GetPodID(AString("/media/ipod")));
    EXPECT_EQ(AString("0000ABCD"), db.GetPodIDText());
}

TEST(ITunesDBPodID, VolumeWithoutSerialUsesTheChecksumOfTheName) {
    FixedVolumeSerial serial(true, 0);
    using namespace dbbytes;
    PodDrive drive(
        Database(15, {DataSet(1, TrackList({})), DataSet(2, PlayListList({PlayList(u"abc", true, {})}))}));
    serial.SetPodRoot(drive.Root().ToUtf8());
    ITunesDB db;
    ASSERT_EQ(0, db.Read(drive.Root(), true));
    ASSERT_EQ(0, db.GetPodID(drive.Root()));
    EXPECT_EQ(AString("AD957AB0"), db.GetPodIDText());

    ITunesDB unnamed;
    ASSERT_EQ(0, unnamed.GetPodID(drive.Root()));
    EXPECT_EQ(AString("00000000"), unnamed.GetPodIDText());
}

TEST(ITunesDBPodID, UnreadableVolumeKeepsTheUnknownIdentifier) {
    FixedVolumeSerial serial(false, 0x1234);
    ITunesDB db;
    db.SetPodIDText(AString("12345678"));
    EXPECT_EQ(kErrorVolumeSerial, db.GetPodID(AString("/nowhere")));
    EXPECT_EQ(AString("00000000"), db.GetPodIDText());
}
