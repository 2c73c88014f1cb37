// The answers of the playlist and song-list requests, written by the server and read by the client.
#include "foundation/AMemFile.h"
#include "foundation/ByteOrder.h"
#include "remote/RemotePlayLists.h"
#include "remote/RemoteSongList.h"
#include "support/AStringPrinting.h"

#include <gtest/gtest.h>

TEST(RemoteAnswersTest, PlayListsComeAsEntriesOf404BytesAndReadBack) {
    const std::vector<RemotePlayList> playLists{
        {AString("Library"), RemotePlayList::kUser},
        {AString(u"Übung"), RemotePlayList::kUser},
        {AString(std::string(300, 'x')), RemotePlayList::kOther},
    };
    const std::vector<uint8_t> answer = RemotePlayLists::Write(playLists);
    ASSERT_EQ(answer.size(), 4u + 3 * 404);
    EXPECT_EQ(LoadLE32(answer.data()), 3u);
    EXPECT_EQ(LoadLE16(answer.data() + 4), u'L');
    EXPECT_EQ(LoadLE32(answer.data() + 4 + 400), 0u);
    EXPECT_EQ(LoadLE32(answer.data() + 4 + 3 * 404 - 4), 1u);
    // A long name keeps its terminator: 199 units.
    EXPECT_EQ(LoadLE16(answer.data() + 4 + 2 * 404 + 398), 0u);

    const auto read = RemotePlayLists::Read(answer);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 3u);
    EXPECT_EQ((*read)[1].name, AString(u"Übung"));
    EXPECT_EQ((*read)[2].name.GetLength(), 199);
    EXPECT_EQ((*read)[2].kind, RemotePlayList::kOther);
}

TEST(RemoteAnswersTest, HostilePlayListAnswersAreRefused) {
    std::vector<uint8_t> answer = RemotePlayLists::Write({{AString("A"), RemotePlayList::kUser}});
    std::vector<uint8_t> beyond = answer;
    StoreLE32(beyond.data(), 2);
    std::vector<uint8_t> huge = answer;
    StoreLE32(huge.data(), 0xFFFFFFFF);
    std::vector<uint8_t> oddKind = answer;
    StoreLE32(oddKind.data() + 4 + 400, 7);
    for (const auto& hostile : {beyond, huge, oddKind, std::vector<uint8_t>{1, 0}})
        EXPECT_FALSE(RemotePlayLists::Read(hostile));
}

TEST(RemoteAnswersTest, SongListsReadBackAndRefuseCountsBeyondTheAnswer) {
    std::vector<RemoteSong> songs(2);
    songs[0] = {AString("\\Rock\\A\\Song?12:0"), AString("/1/2_0/60/*/*"), AString("?box:/m/a.mp3"),
                FileInfo{1, 0, 1, 0, 1234, 3600000000ull}};
    songs[1] = {AString("\\Rock\\B\\Tune?13:1"), AString("/"), AString("?box:/m/b.mp3"), FileInfo{}};
    AMemFile stream;
    ASSERT_EQ(RemoteSongList::Write(stream, songs), 0);
    const std::vector<uint8_t> answer(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
    std::vector<RemoteSong> read;
    ASSERT_EQ(RemoteSongList::Read(answer, read), 0);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].entry, songs[0].entry);
    EXPECT_EQ(read[0].key, songs[0].key);
    EXPECT_EQ(read[1].path, songs[1].path);
    EXPECT_EQ(read[0].info.size, 1234u);
    EXPECT_EQ(read[0].info.modTime, 3600000000ull);

    std::vector<uint8_t> beyond = answer;
    StoreLE32(beyond.data(), 0x7FFFFFFF);
    EXPECT_NE(RemoteSongList::Read(beyond, read), 0);
    EXPECT_TRUE(read.empty());
    const std::vector<uint8_t> cut(answer.begin(), answer.end() - 1);
    EXPECT_NE(RemoteSongList::Read(cut, read), 0);
    EXPECT_TRUE(read.empty());
}
