// The fuzz seeds of the song-list records must reach the code behind a load: each loads whole, with
// its entries.
#include "foundation/AMemFile.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/songlists/ADirSongDir.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// Loads the record of a seed (the bytes after the one that chooses the record) and checks that the
// load took all of it.
template <typename Record, typename Load> void LoadSeed(const std::string& name, Record& record, Load load) {
    const std::vector<uint8_t> seed = FixtureBytes("songlists/" + name);
    AMemFile stream(seed.data() + 1, static_cast<uint32_t>(seed.size() - 1));
    ASSERT_EQ(load(record, stream), 0) << name;
    EXPECT_EQ(stream.GetPosition(), stream.GetSize()) << name;
}

int LoadList(ADir& list, AMemFile& stream) {
    return list.Load(stream, 0);
}

} // namespace

TEST(SongListSeeds, EachLoadsWholeWithItsEntries) {
    ADirSongDir folder;
    LoadSeed("record_songdir_entries.bin", folder, LoadList);
    EXPECT_EQ(folder.GetCount(), 5);
    AString path;
    EXPECT_EQ(folder.GetFullPath(*folder.GetEntry(0), path, 1), 0);
    EXPECT_EQ(path.ToSystem8Bit(), "/nonexistent-music/Pop/abba.mp3");
    EXPECT_EQ(folder.GetFullPath(AString(u"\\*\\*\\*\\Caf\u00e9\\mp3"), path, 0), 0);
    EXPECT_EQ(path.ToSystem8Bit(), "/nonexistent-music/Caf\xE9.mp3");

    ADirSong list;
    LoadSeed("record_song_entries.bin", list, LoadList);
    EXPECT_EQ(list.GetCount(), 4);

    ADir plain;
    LoadSeed("record_dir_full_paths.bin", plain, LoadList);
    EXPECT_EQ(plain.GetCount(), 2);
    EXPECT_EQ(plain.GetFullPathEntries(), 1u);

    ITunesPlayList playList;
    LoadSeed("record_playlist_ids.bin", playList,
             [](ITunesPlayList& record, AMemFile& stream) { return record.Load(stream); });
}
