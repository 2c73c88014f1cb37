#include "library/itunes/ITunesSong.h"

#include "foundation/ACrc32.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "library/entries/AudioDataSize.h"
#include "library/itunes/FakeITunesObjects.h"
#include "library/itunes/RecordBytes.h"
#include "library/songlists/TestSongFiles.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

Bytes Saved(const ITunesSong& song) {
    AMemFile stream;
    EXPECT_EQ(song.Serialize(stream), 0);
    return Bytes(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

uint32_t Checksum(const char* text) {
    ACrc32 crc;
    crc.Update(AString(text));
    return crc.GetValue();
}

std::shared_ptr<FakeTrack> Bind(ITunesSong& song) {
    static const FakeClient client;
    auto track = std::make_shared<FakeTrack>();
    auto binding = std::make_unique<ITunesTrackBinding>();
    binding->track = track;
    binding->owner = &client;
    song.AddTrack(std::move(binding));
    return track;
}

// Points the application-data folder at a test folder for the life of the object.
class DataHome {
public:
    explicit DataHome(const std::string& path) {
        if (const char* old = std::getenv("XDG_DATA_HOME"))
            m_old = old;
        setenv("XDG_DATA_HOME", path.c_str(), 1);
    }
    ~DataHome() {
        if (m_old.empty())
            unsetenv("XDG_DATA_HOME");
        else
            setenv("XDG_DATA_HOME", m_old.c_str(), 1);
    }

private:
    std::string m_old;
};

} // namespace

TEST(ITunesSongTest, WithoutABindingOnlyTheLocalFieldsWork) {
    ITunesSong song;
    EXPECT_EQ(song.GetNameChecksum(), 0u);
    AString text("unchanged");
    uint32_t number = 9;
    EXPECT_EQ(song.GetName(text, 1), kErrorInvalidElement);
    EXPECT_EQ(song.GetGenre(text, 1), kErrorInvalidElement);
    EXPECT_EQ(song.GetSize(number, 1), kErrorInvalidElement);
    EXPECT_EQ(text, AString("unchanged"));
    EXPECT_EQ(song.SetName(AString("New"), 1), kErrorInvalidElement);
    EXPECT_EQ(song.SetYear(1999, 1), kErrorInvalidElement);
    ASSERT_EQ(song.SetName(AString("  Local  "), 0), 0);
    ASSERT_EQ(song.GetName(text, 0), 0);
    EXPECT_EQ(text, AString("Local"));
    EXPECT_EQ(song.GetNameChecksum(), Checksum("Local"));

    auto binding = std::make_unique<ITunesTrackBinding>();
    song.AddTrack(std::move(binding));
    EXPECT_EQ(song.GetName(text, 1), kErrorITunesCall);
    EXPECT_EQ(song.SetAlbum(AString("x"), 1), kErrorITunesCall);
}

TEST(ITunesSongTest, RefreshAndWriteThroughUseTheFirstTrack) {
    ITunesSong song;
    const auto first = Bind(song);
    const auto second = Bind(song);
    first->texts[ITunesTrackProperty::Artist] = AString("  Abba ");
    first->numbers[ITunesTrackProperty::Duration] = 180;
    AString text;
    uint32_t number = 0;
    ASSERT_EQ(song.GetArtist(text, 1), 0);
    EXPECT_EQ(text, AString("Abba"));
    ASSERT_EQ(song.GetDuration(number, 1), 0);
    EXPECT_EQ(number, 180u);

    ASSERT_EQ(song.SetGenre(AString(" Pop "), 1), 0);
    EXPECT_EQ(first->texts[ITunesTrackProperty::Genre], AString(" Pop "));
    EXPECT_TRUE(second->texts.empty());
    ASSERT_EQ(song.GetGenre(text, 0), 0);
    EXPECT_EQ(text, AString(" Pop "));
    ASSERT_EQ(song.SetTrackNumber(7, 1), 0);
    EXPECT_EQ(first->numbers[ITunesTrackProperty::TrackNumber], 7);
    EXPECT_EQ(song.GetTrackNumber(), 7u);
}

TEST(ITunesSongTest, FailuresLeaveTheFieldAndGiveTheirCodes) {
    ITunesSong song;
    const auto track = Bind(song);
    song.SetAlbum(AString("Kept"), 0);
    AString text;
    track->behaviour = FakeTrack::Behaviour::Fail;
    EXPECT_EQ(song.GetAlbum(text, 1), kErrorITunesCall);
    EXPECT_EQ(song.SetAlbum(AString("Lost"), 1), kErrorITunesCall);
    track->behaviour = FakeTrack::Behaviour::Throw;
    struct Case {
        int (ITunesSong::*getter)(AString&, uint32_t);
        int code;
    };
    for (const Case& c : {Case{&ITunesSong::GetName, -15219}, Case{&ITunesSong::GetAlbum, -15220},
                          Case{&ITunesSong::GetArtist, -15221}, Case{&ITunesSong::GetGenre, -15222}})
        EXPECT_EQ((song.*c.getter)(text, 1), c.code);
    uint32_t number = 0;
    EXPECT_EQ(song.GetBitRate(number, 1), -15226);
    EXPECT_EQ(song.GetDuration(number, 1), -15227);
    EXPECT_EQ(song.GetSize(number, 1), -15228);
    EXPECT_EQ(song.SetComposer(AString("x"), 1), kErrorITunesCall);
    ASSERT_EQ(song.GetAlbum(text, 0), 0);
    EXPECT_EQ(text, AString("Kept"));
}

TEST(ITunesSongTest, NameChecksumDependsOnlyOnTheCleanedName) {
    ITunesSong song;
    const auto track = Bind(song);
    song.SetName(AString("Something else"), 0);
    track->texts[ITunesTrackProperty::Name] = AString("A");
    AString text;
    ASSERT_EQ(song.GetName(text, 1), 0);
    const uint32_t refreshed = song.GetNameChecksum();
    ITunesSong other;
    other.SetName(AString("A"), 0);
    EXPECT_EQ(refreshed, other.GetNameChecksum());
    EXPECT_EQ(refreshed, Checksum("A"));
    other.SetName(AString("Who? / Why"), 0);
    EXPECT_EQ(other.GetNameChecksum(), Checksum("Who_ _ Why"));
    other.SetName(AString(), 0);
    EXPECT_EQ(other.GetNameChecksum(), 0u);
}

// Each call follows its own layout and the fields as they are now: a text kept from an earlier call
// would pair the song with the wrong one in a list of another layout.
TEST(ITunesSongTest, EntryTextFollowsEachLayoutAndTakesItsIdTail) {
    ITunesSong song;
    song.SetGenre(AString("Rock"), 0);
    song.SetArtist(AString("AC/DC"), 0);
    song.SetAlbum(AString("Live"), 0);
    song.SetTrackNumber(3, 0);
    song.SetName(AString("T.N.T."), 0);
    song.SetPath(AString("/music/AC_DC/Live/03 T.N.T..mp3"));
    song.SetDatabaseID(1234);
    const EntryLayout all{.genre = 1, .album = 1, .track = 1, .type = 1};
    EXPECT_EQ(song.BuildEntry(all, true), AString(u"\\Rock\\AC_DC\\Live\\3\\T.N.T.\\mp3?1234"));
    const EntryLayout bare{.genre = 0, .album = 0, .track = 0, .type = 0};
    EXPECT_EQ(song.BuildEntry(bare, false), AString(u"\\AC_DC\\T.N.T."));
    song.SetName(AString("Dynamite"), 0);
    EXPECT_EQ(song.BuildEntry(bare, false), AString(u"\\AC_DC\\Dynamite"));

    ITunesSong odd;
    odd.SetGenre(AString("?"), 0);
    odd.SetArtist(AString("Band"), 0);
    odd.SetPath(AString("/music/no extension"));
    EXPECT_TRUE(odd.GetExtension().IsEmpty());
    odd.SetDatabaseID(0xFFFFFFFF);
    EXPECT_EQ(odd.BuildEntry({.genre = 1, .album = 1, .track = 0, .type = 1}, true),
              AString(u"\\*\\Band\\*\\*\\*?-1"));
}

TEST(ITunesSongTest, ASongWithoutNamesIsNamedByItsAudioSize) {
    TempDir dir;
    WriteSongFile(dir.File("song.mp3"), MakeMp3(TestSongTags{}));
    ITunesSong song;
    song.SetName(AString("Title"), 0);
    song.SetPath(dir.Text("song.mp3"));
    const EntryLayout layout{.genre = 1, .album = 1, .track = 0, .type = 1};
    EXPECT_EQ(song.BuildEntry(layout, false), AString(u"\\*\\1668\\*\\Title\\mp3"));
    // The size is read from the file once.
    std::filesystem::rename(dir.File("song.mp3"), dir.File("moved.mp3"));
    EXPECT_EQ(song.BuildEntry(layout, false), AString(u"\\*\\1668\\*\\Title\\mp3"));
    std::filesystem::rename(dir.File("moved.mp3"), dir.File("song.mp3"));

    // Above 2 GiB the size stays unsigned, as the folder and iPod lists write it.
    std::filesystem::resize_file(dir.File("song.mp3"), (uint64_t(3) << 30));
    ITunesSong large;
    large.SetName(AString("Title"), 0);
    large.SetPath(dir.Text("song.mp3"));
    const uint64_t size = AudioDataSizeOf(dir.Text("song.mp3"));
    ASSERT_GT(size, uint64_t(INT32_MAX));
    EXPECT_EQ(large.BuildEntry({.genre = 0, .album = 0, .track = 0, .type = 0}, false),
              AString(u"\\") + AString::FromUInt64(size) + AString(u"\\Title"));
}

TEST(ITunesSongTest, SavedFormHasItsFieldsInOrder) {
    ITunesSong song;
    song.SetName(AString("N"), 0);
    song.SetAlbum(AString("Al"), 0);
    song.SetArtist(AString("Ar"), 0);
    song.SetGenre(AString("G"), 0);
    song.SetComposer(AString("C"), 0);
    song.SetTrackNumber(2, 0);
    song.SetYear(1980, 0);
    song.SetBitRate(128);
    song.SetDuration(200);
    song.SetSize(4000000);
    song.SetModTime(0x0102030405060708ull);
    song.SetPath(AString("/m/x.mp3"));
    song.SetDatabaseID(77);
    song.SetPlayData(5, 6, 80);
    Bytes expected;
    AppendU32(expected, 0x00100000);
    for (const char16_t* text : {u"N", u"Al", u"Ar", u"G", u"C"})
        AppendTextRecord(expected, text);
    for (uint32_t word : {2u, 1980u, 128u, 200u, 4000000u})
        AppendU32(expected, word);
    AppendU32(expected, 0x05060708);
    AppendU32(expected, 0x01020304);
    AppendTextRecord(expected, u"/m/x.mp3");
    AppendTextRecord(expected, u"mp3");
    AppendU32(expected, Checksum("N"));
    AppendU32(expected, 77);
    const Bytes saved = Saved(song);
    EXPECT_EQ(saved, expected);

    ITunesSong loaded;
    Bind(loaded);
    AMemFile reader(saved.data(), static_cast<uint32_t>(saved.size()));
    ASSERT_EQ(loaded.Load(reader), 0);
    EXPECT_EQ(Saved(loaded), saved);
    EXPECT_EQ(loaded.GetTrackCount(), 0);
    EXPECT_EQ(loaded.GetPlayedCount(), 0u);
}

// A failed load leaves the record as it was, never half of another song.
TEST(ITunesSongTest, ABadRecordChangesNothing) {
    ITunesSong song;
    song.SetName(AString("Mine"), 0);
    Bind(song);
    const Bytes before = Saved(song);
    ITunesSong other;
    other.SetName(AString("Theirs"), 0);
    Bytes record = Saved(other);
    record[0] = 0x01; // version 0x00100001
    AMemFile wrongVersion(record.data(), static_cast<uint32_t>(record.size()));
    EXPECT_EQ(song.Load(wrongVersion), kErrorVersion);
    record = Saved(other);
    AMemFile truncated(record.data(), static_cast<uint32_t>(record.size() - 3));
    EXPECT_LT(song.Load(truncated), 0);
    EXPECT_EQ(Saved(song), before);
    EXPECT_EQ(song.GetTrackCount(), 1);
}

TEST(ITunesSongTest, ArtworkComesThroughAUniqueFileThatIsRemoved) {
    TempDir dir;
    DataHome home(dir.Path());
    ITunesSong song;
    std::vector<uint8_t> buffer{9};
    int count = -1;
    EXPECT_EQ(song.GetArtworkCount(count), kErrorInvalidElement);
    EXPECT_EQ(song.SaveArtwork(0, buffer), kErrorInvalidElement);
    const auto track = Bind(song);
    track->artworks = {{1, 2, 3}, {4, 5}};
    ASSERT_EQ(song.GetArtworkCount(count), 0);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(song.SaveArtwork(1, buffer), 0);
    EXPECT_EQ(buffer, (std::vector<uint8_t>{4, 5}));
    ASSERT_EQ(song.SaveArtwork(0, buffer), 0);
    EXPECT_EQ(buffer, (std::vector<uint8_t>{1, 2, 3}));
    ASSERT_EQ(track->artworkPaths.size(), 2u);
    EXPECT_NE(track->artworkPaths[0], track->artworkPaths[1]);
    for (const std::string& path : track->artworkPaths) {
        EXPECT_EQ(path.rfind(dir.File("Quelloran/Orvantis/"), 0), 0u) << path;
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    ASSERT_EQ(song.SaveArtwork(2, buffer), 0);
    EXPECT_TRUE(buffer.empty());
    EXPECT_EQ(track->artworkPaths.size(), 2u);

    track->artworks = {{}};
    EXPECT_EQ(song.SaveArtwork(0, buffer), kErrorITunesCall);
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("Quelloran/Orvantis")));
}
