#include "library/ipod/IPod.h"

#include "foundation/ACrc32.h"
#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "library/entries/SongFilters.h"
#include "library/ipod/PodSourceFixture.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/LibraryPlayListName.h"
#include "platform/volumes/VolumeTable.h"
#include "support/AStringPrinting.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace fs = std::filesystem;

namespace {

// Each song of the client by title, with its file.
std::map<std::string, std::string> SongFiles(IPod& pod) {
    std::map<std::string, std::string> files;
    for (int i = 0; i < pod.GetSongCount(); ++i) {
        ITunesSong* song = pod.GetSongAt(i);
        AString name;
        song->GetName(name, 0);
        files[name.ToUtf8()] = song->GetPath().ToUtf8();
    }
    return files;
}

std::vector<std::string> TitlesOf(ITunesPlayList& playList) {
    std::vector<std::string> titles;
    for (int i = 0; i < playList.GetSongCount(); ++i) {
        AString name;
        playList.GetSong(i)->GetName(name, 0);
        titles.push_back(name.ToUtf8());
    }
    return titles;
}

ITunesPlayList* PlayListNamed(IPod& pod, const char* name) {
    for (int i = 0; i < pod.GetPlayListCount(); ++i) {
        AString candidate;
        pod.GetPlayList(i)->GetName(candidate, 0);
        if (candidate == name)
            return pod.GetPlayList(i);
    }
    return nullptr;
}

class SerialTable : public nativevolumes::VolumeTable {
public:
    SerialTable(std::string mountPoint, uint32_t serial) : m_volume{std::move(mountPoint), serial} {}
    std::vector<nativevolumes::Volume> List() const override { return {m_volume}; }

private:
    nativevolumes::Volume m_volume;
};

class IPodTest : public PodSourceFixture {};

TEST_F(IPodTest, TheIPodIsChosenByItsPlaceAmongTheIPodSources) {
    IPod pod;
    ASSERT_EQ(0, pod.Connect());
    EXPECT_EQ(kErrorInvalidElement, pod.SelectPod(-1));
    EXPECT_EQ(kErrorInvalidElement, pod.SelectPod(1));
    EXPECT_FALSE(pod.IsPodSelected());
    AString name;
    EXPECT_EQ(kErrorInvalidElement, pod.GetName(name, true));
    ASSERT_EQ(0, pod.SelectPod(0));
    ASSERT_EQ(0, pod.GetName(name, true));
    EXPECT_EQ("My iPod", name);
    EXPECT_EQ(0, pod.SelectPod(-1));
    IPod unconnected;
    EXPECT_EQ(kErrorNotConnected, unconnected.SelectPod(0));
}

TEST_F(IPodTest, TheIdentifierIsTheVolumeSerialOrTheNamesChecksum) {
    IPod pod;
    Bind(pod, false);
    ACrc32 crc;
    crc.Update(AString(kPodName));
    char expected[9];
    std::snprintf(expected, sizeof expected, "%08X", crc.GetValue());
    ASSERT_EQ(0, pod.GetPodID(AString(mountPoint + "/")));
    EXPECT_EQ(expected, pod.GetIdentifier());

    const SerialTable serial(mountPoint, 0x1F);
    nativevolumes::VolumeTable::SetInstance(&serial);
    const int withSerial = pod.GetPodID(AString(mountPoint));
    const AString identifier = pod.GetIdentifier();
    const int unknown = pod.GetPodID(dir.Text("elsewhere"));
    nativevolumes::VolumeTable::SetInstance(nullptr);
    EXPECT_EQ(0, withSerial);
    EXPECT_EQ("0000001F", identifier);
    EXPECT_EQ(kErrorPodSourceVolumeInfo, unknown);
    EXPECT_EQ("00000000", pod.GetIdentifier());
}

TEST_F(IPodTest, TheMasterListNamesEachSongsFileOnTheIPod) {
    IPod pod;
    Bind(pod);
    AProgress progress;
    ASSERT_EQ(0, pod.Reload(false, AString(), nullptr, nullptr, &progress));
    const std::map<std::string, std::string> expected = {
        {"Alpha", PodFile("iPod_Control/Music/F01/ALFA.m4a")},
        {"Song (Live)", PodFile("iPod_Control/Music/F02/SONG.mp3")},
        {"Zeta", PodFile("iPod_Control/Music/F00/ZETA.mp3")},
    };
    EXPECT_EQ(expected, SongFiles(pod));
    EXPECT_EQ("My iPod", pod.GetLibraryName());
    EXPECT_EQ(GetLibraryPlayListName(), kLibraryPlayListName);
    ASSERT_EQ(1, pod.GetPlayListCount());
    EXPECT_EQ(0, pod.GetPlayList(0)->GetSongCount());
    EXPECT_EQ(ITunesTrackBinding::kPod, pod.GetSongAt(0)->GetTrack(0)->kind);
    EXPECT_TRUE(progress.PendingLog().Find("Could not find") < 0);

    // A song the database read before does not know keeps no file, and says so.
    ITunesSong* added = nullptr;
    ASSERT_EQ(0, pod.AddFile(AString(NewSong("new.mp3", "New")), nullptr, added));
    ASSERT_EQ(0, pod.Reload(false, AString(), nullptr, nullptr, &progress));
    EXPECT_EQ("", SongFiles(pod)["New"]);
    EXPECT_GE(progress.PendingLog().Find("Could not find file path for: Band; New", 0, true), 0);

    // Without the database no song has a file.
    IPod bare;
    Bind(bare, false);
    ASSERT_EQ(0, bare.Reload(false, AString(), nullptr, nullptr, nullptr));
    EXPECT_EQ(4, bare.GetSongCount());
    EXPECT_EQ("", SongFiles(bare)["Zeta"]);
}

TEST_F(IPodTest, ANamedPlayListIsTheMasterListAndAMissingOneIsAnError) {
    IPod pod;
    Bind(pod);
    ASSERT_EQ(0, pod.Reload(true, AString("Favourites"), nullptr, nullptr, nullptr));
    EXPECT_EQ(2, pod.GetSongCount());
    ITunesPlayList* favourites = PlayListNamed(pod, "Favourites");
    ASSERT_NE(nullptr, favourites);
    EXPECT_EQ((std::vector<std::string>{"Song (Live)", "Zeta"}), TitlesOf(*favourites));
    EXPECT_EQ("My iPod", pod.GetLibraryName());

    EXPECT_EQ(kErrorInvalidPlayList, pod.Reload(true, AString("favourites"), nullptr, nullptr, nullptr));
    EXPECT_EQ(0, pod.GetSongCount());
    EXPECT_EQ(0, pod.GetPlayListCount());
    IPod unbound;
    ASSERT_EQ(0, unbound.Connect());
    EXPECT_EQ(kErrorInvalidElement, unbound.Reload(false, AString(), nullptr, nullptr, nullptr));
}

TEST_F(IPodTest, TheListsFiltersLeaveSongsOut) {
    IPod pod;
    Bind(pod);
    SongFilters onlyMp3;
    onlyMp3.types = {SongFilter::kKeepListed, AString(":mp3:"), AString()};
    ASSERT_EQ(0, pod.Reload(false, AString(), &onlyMp3, nullptr, nullptr));
    EXPECT_EQ((std::map<std::string, std::string>{{"Song (Live)", PodFile("iPod_Control/Music/F02/SONG.mp3")},
                                                  {"Zeta", PodFile("iPod_Control/Music/F00/ZETA.mp3")}}),
              SongFiles(pod));
    SongFilters notZeta;
    notZeta.title = {SongFilter::kDropListed, AString(), AString(":Zeta:")};
    ASSERT_EQ(0, pod.Reload(true, AString(), &notZeta, nullptr, nullptr));
    EXPECT_EQ(2, pod.GetSongCount());
    EXPECT_EQ(std::vector<std::string>{"Song (Live)"}, TitlesOf(*PlayListNamed(pod, "Favourites")));
}

TEST_F(IPodTest, ACancelEndsTheLoad) {
    IPod pod;
    Bind(pod);
    EXPECT_EQ(kUserCancel, pod.Reload(
                               false, AString(), nullptr, [] { return 1; }, nullptr));
    EXPECT_EQ(0, pod.GetSongCount());
}

// Added through the client's own interface too, the song goes onto the iPod, and its file is the
// iPod's copy: deleting it later can never reach the computer's file.
TEST_F(IPodTest, AnAddedSongsFileIsTheIPodsCopy) {
    IPod pod;
    Bind(pod);
    ITunes& client = pod;
    const std::string file = NewSong("new.mp3", "New");
    ITunesSong* song = nullptr;
    ASSERT_EQ(0, client.AddFile(AString(file), nullptr, song));
    ASSERT_NE(nullptr, song);
    const std::string copy = song->GetPath().ToUtf8();
    EXPECT_NE(file, copy);
    EXPECT_EQ(PodFile("iPod_Control/Music/"), copy.substr(0, PodFile("iPod_Control/Music/").size()));
    EXPECT_TRUE(fs::exists(copy));
    EXPECT_EQ(ITunesTrackBinding::kPod, song->GetTrack(0)->kind);
    EXPECT_EQ(4u, TracksOnPod().size());
    EXPECT_EQ(song, pod.FindSong(static_cast<int32_t>(song->GetDatabaseID())));

    EXPECT_EQ(kErrorDuplicate, client.AddFile(AString(file), nullptr, song));
    EXPECT_EQ(nullptr, song);
    EXPECT_EQ(kErrorFileNotFound, client.AddFile(dir.Text("songs/missing.mp3"), nullptr, song));
    EXPECT_EQ(kErrorInvalidPath, client.AddFile(AString(), nullptr, song));
    IPod unbound;
    ASSERT_EQ(0, unbound.Connect());
    EXPECT_EQ(kErrorInvalidElement, unbound.AddFile(AString(file), nullptr, song));
    EXPECT_EQ(4u, TracksOnPod().size());
}

TEST_F(IPodTest, AddingFilesGivesOneSongForEachNewFile) {
    IPod pod;
    Bind(pod);
    std::vector<ITunesSong*> songs;
    const std::vector<AString> files = {AString(NewSong("a.mp3", "A")), AString(NewSong("b.mp3", "B")),
                                        AString(PodFile("iPod_Control/Music/F00/ZETA.mp3"))};
    ASSERT_EQ(0, pod.AddFiles(files, songs));
    ASSERT_EQ(2u, songs.size());
    for (ITunesSong* song : songs)
        EXPECT_TRUE(song->GetPath().ToUtf8().starts_with(PodFile("iPod_Control/Music/")));
    EXPECT_EQ(5u, TracksOnPod().size());
}

TEST_F(IPodTest, PlayListsAreMadeAndDeletedOnTheIPod) {
    IPod pod;
    Bind(pod);
    ITunes& client = pod;
    ASSERT_EQ(0, client.LoadPlayLists(false));
    EXPECT_EQ("My iPod", pod.GetLibraryName());
    EXPECT_EQ(GetLibraryPlayListName(), kLibraryPlayListName);
    ASSERT_EQ(1, pod.GetPlayListCount());
    ITunesPlayList* party = nullptr;
    ASSERT_EQ(0, client.CreatePlayList(AString("Party"), &party));
    ASSERT_NE(nullptr, party);
    EXPECT_EQ(2, pod.GetPlayListCount());
    IPod other;
    Bind(other, false);
    ASSERT_EQ(0, other.LoadPlayLists());
    EXPECT_NE(nullptr, PlayListNamed(other, "Party"));

    ASSERT_EQ(0, client.DeletePlayListByName(AString("Party")));
    EXPECT_EQ(2, pod.GetPlayListCount());
    EXPECT_EQ(kErrorITunesCall, client.DeletePlayListByName(AString("Party")));
    ASSERT_EQ(0, other.LoadPlayLists());
    EXPECT_EQ(nullptr, PlayListNamed(other, "Party"));
    IPod unbound;
    ASSERT_EQ(0, unbound.Connect());
    EXPECT_EQ(kErrorInvalidElement, unbound.CreatePlayList(AString("Party")));
    EXPECT_EQ(kErrorInvalidElement, unbound.LoadPlayLists());
}

TEST_F(IPodTest, TheRecordRoundTripsWithDriveAndIdentifier) {
    IPod pod;
    Bind(pod);
    ASSERT_EQ(0, pod.GetPodID(AString(mountPoint)));
    ASSERT_EQ(0, pod.Reload(true, AString(), nullptr, nullptr, nullptr));
    AMemFile stream;
    ASSERT_EQ(0, pod.Serialize(stream));
    stream.Seek(0);
    IPod loaded;
    ASSERT_EQ(0, loaded.Load(stream));
    EXPECT_EQ(pod.GetDrive(), loaded.GetDrive());
    EXPECT_EQ(pod.GetIdentifier(), loaded.GetIdentifier());
    EXPECT_EQ(SongFiles(pod), SongFiles(loaded));
    EXPECT_FALSE(loaded.IsPodSelected());
    ASSERT_NE(nullptr, PlayListNamed(loaded, "Favourites"));
    EXPECT_EQ(TitlesOf(*PlayListNamed(pod, "Favourites")), TitlesOf(*PlayListNamed(loaded, "Favourites")));

    // A record cut before the identifier keeps what came before it.
    AMemFile shorter(stream.GetBuffer(), static_cast<uint32_t>(stream.GetLength()) - 2);
    IPod cut;
    EXPECT_NE(0, cut.Load(shorter));
    EXPECT_EQ(pod.GetDrive(), cut.GetDrive());
    EXPECT_EQ(3, cut.GetSongCount());
}

} // namespace
