// The fuzz seeds of the song-list records must reach the code behind a load: each loads whole, with
// its entries.
#include "foundation/AMemFile.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/songlists/ADirSongDir.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// The record of a seed: the bytes after the byte that chooses the record.
AMemFile RecordOf(const std::vector<uint8_t>& seed) {
    return AMemFile(seed.data() + 1, static_cast<uint32_t>(seed.size() - 1));
}

} // namespace

TEST(SongListSeeds, EachLoadsWholeWithItsEntries) {
    const std::vector<uint8_t> songDir = FixtureBytes("songlists/record_songdir_entries.bin");
    AMemFile songDirRecord = RecordOf(songDir);
    ADirSongDir folder;
    ASSERT_EQ(folder.Load(songDirRecord, 0), 0);
    EXPECT_EQ(songDirRecord.GetPosition(), songDirRecord.GetSize());
    EXPECT_EQ(folder.GetCount(), 5);
    AString path;
    EXPECT_EQ(folder.GetFullPath(*folder.GetEntry(0), path, 1), 0);
    EXPECT_EQ(path.ToSystem8Bit(), "/nonexistent-music/Pop/abba.mp3");
    EXPECT_EQ(folder.GetFullPath(AString(u"\\*\\*\\*\\Caf\u00e9\\mp3"), path, 0), 0);
    EXPECT_EQ(path.ToSystem8Bit(), "/nonexistent-music/Caf\xE9.mp3");

    const std::vector<uint8_t> song = FixtureBytes("songlists/record_song_entries.bin");
    AMemFile songRecord = RecordOf(song);
    ADirSong list;
    ASSERT_EQ(list.Load(songRecord, 0), 0);
    EXPECT_EQ(songRecord.GetPosition(), songRecord.GetSize());
    EXPECT_EQ(list.GetCount(), 4);

    const std::vector<uint8_t> dir = FixtureBytes("songlists/record_dir_full_paths.bin");
    AMemFile dirRecord = RecordOf(dir);
    ADir plain;
    ASSERT_EQ(plain.Load(dirRecord, 0), 0);
    EXPECT_EQ(plain.GetCount(), 2);
    EXPECT_EQ(plain.GetFullPathEntries(), 1u);

    const std::vector<uint8_t> playList = FixtureBytes("songlists/record_playlist_ids.bin");
    AMemFile playListRecord = RecordOf(playList);
    ITunesPlayList loaded;
    ASSERT_EQ(loaded.Load(playListRecord), 0);
    EXPECT_EQ(playListRecord.GetPosition(), playListRecord.GetSize());
}
