// The sync engine pairs the songs of two lists by their entry texts: one song file must get the same
// text from its tags (a song folder), as an iPod track and as an iTunes song, under every layout.
#include "foundation/FileOps.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBTrack.h"
#include "library/ipod/PodDrive.h"
#include "library/ipod/PodSongInfo.h"
#include "library/itunes/ITunesSong.h"
#include "library/songlists/ADirSongDir.h"
#include "library/songlists/TestSongFiles.h"
#include "library/tags/ID3.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr const char* kSongOnPod = "iPod_Control/Music/F00/SONG.mp3";

std::vector<EntryLayout> EveryLayout() {
    std::vector<EntryLayout> layouts;
    for (uint32_t bits = 0; bits < 16; ++bits)
        layouts.push_back({bits & 1, (bits >> 1) & 1, (bits >> 2) & 1, (bits >> 3) & 1, 0});
    return layouts;
}

std::string Describe(const EntryLayout& layout) {
    return "genre " + std::to_string(layout.genre) + " album " + std::to_string(layout.album) + " track " +
           std::to_string(layout.track) + " type " + std::to_string(layout.type);
}

// A song file on an iPod drive, seen through each of the three sources.
class SongSources {
public:
    explicit SongSources(const TestSongTags& song) : m_drive(FixtureBytes("ipod/gpod-three-tracks.itdb")) {
        WriteSongFile(m_drive.File(kSongOnPod), MakeMp3(song));
        const AString file(m_drive.File(kSongOnPod));
        EXPECT_EQ(m_tags.Read(file), 0);
        AddTrack();
        FillITunesSong(file);
    }

    AString FromTags(const EntryLayout& layout) {
        ADirSongDir folder;
        folder.SetGenreLevel(layout.genre);
        folder.SetAlbumLevel(layout.album);
        folder.SetTrackLevel(layout.track);
        folder.SetTypeLevel(layout.type);
        return folder.BuildSongEntry(m_tags);
    }

    AString FromPod(const EntryLayout& layout) {
        m_db.SetFolderLayout(layout);
        return m_track ? m_db.BuildEntry(*m_track, false) : AString();
    }

    AString FromITunes(const EntryLayout& layout) { return m_song.BuildEntry(layout, false); }

private:
    // As the iPod's song list adds a song file.
    void AddTrack() {
        const AString root = m_drive.Root();
        ASSERT_EQ(m_db.ReadLibrary(&root, true, nullptr, nullptr), 0);
        const PodSongInfo info{m_tags.GetFields(), 0, AString(kSongOnPod)};
        ASSERT_EQ(m_db.AddTrack(info, &m_track, true), 0);
    }

    // As the iTunes client fills a song from the track of that file.
    void FillITunesSong(const AString& file) {
        AString text;
        m_tags.GetGenre(text);
        m_song.SetGenre(text, 0);
        m_tags.GetArtist(text);
        m_song.SetArtist(text, 0);
        m_tags.GetAlbum(text);
        m_song.SetAlbum(text, 0);
        m_tags.GetDisplayName(text);
        m_song.SetName(text, 0);
        m_song.SetTrackNumber(m_tags.GetTrackNumber(), 0);
        m_song.SetPath(file);
    }

    PodDrive m_drive;
    ID3 m_tags;
    ITunesDB m_db;
    ITunesDBTrack* m_track = nullptr;
    ITunesSong m_song;
};

} // namespace

TEST(EntrySources, OneSongGivesOneEntryTextThroughEverySource) {
    const std::string audioSize = std::to_string(4 * 417);
    const struct {
        TestSongTags song;
        std::string everyLevel; // the text with all four levels
    } cases[] = {
        {SongTags("Rock", "AC/DC", "Live", "T.N.T.", "3"), "\\Rock\\AC_DC\\Live\\3\\T.N.T.\\mp3"},
        {SongTags(" Pop ", " Abba ", " Gold ", " Waterloo ", "12/14"),
         "\\Pop\\Abba\\Gold\\12\\Waterloo\\mp3"},
        {SongTags("?", "", "", "Who: Why?", ""), "\\*\\" + audioSize + "\\*\\0\\Who_ Why_\\mp3"},
        {SongTags("_", "Band", "", "", "7"), "\\*\\Band\\*\\7\\SONG\\mp3"},
        {SongTags("", "", "Album", "Title", ""), "\\*\\*\\Album\\0\\Title\\mp3"},
        {SongTags("Jazz", "", "", "Solo", ""), "\\Jazz\\*\\*\\0\\Solo\\mp3"},
    };
    for (const auto& c : cases) {
        SongSources sources(c.song);
        EXPECT_EQ(sources.FromTags({1, 1, 1, 1, 0}).ToUtf8(), c.everyLevel);
        for (const EntryLayout& layout : EveryLayout()) {
            const AString fromTags = sources.FromTags(layout);
            EXPECT_EQ(sources.FromPod(layout), fromTags) << c.everyLevel << ", " << Describe(layout);
            EXPECT_EQ(sources.FromITunes(layout), fromTags) << c.everyLevel << ", " << Describe(layout);
        }
    }
}
