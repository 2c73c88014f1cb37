#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirPlayListsPod.h"
#include "library/songlists/ADirPlayListsTunes.h"
#include "library/songlists/AddFileSongInfo.h"
#include "support/AStringPrinting.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A song source that records the playlists it is asked to make or remove.
class RecordingSource : public ADirSong {
public:
    explicit RecordingSource(uint32_t type) : m_type(type) { SetRootPath(AString("/media/ipod")); }
    uint32_t GetType() const override { return m_type; }
    AString& GetDescription(AString& out, uint32_t) override {
        out = "Other Computer";
        return out;
    }
    int CreatePlayList(const AString& name) override {
        created.push_back(name);
        return 0;
    }
    int DeletePlayList(const AString& name) override {
        deleted.push_back(name);
        return -8;
    }
    std::vector<AString> created;
    std::vector<AString> deleted;

private:
    uint32_t m_type;
};

std::vector<AString> EntriesOf(ADir& list) {
    std::vector<AString> entries;
    for (int i = 0; i < list.GetCount(); ++i)
        entries.push_back(*list.GetEntry(i));
    return entries;
}

} // namespace

TEST(ADirPlayListsTest, TheLibraryEntrySortsFirstEitherWay) {
    ADirPlayListsTunes list;
    for (const char* name : {"Rock", "?0", "Jazz", "90s"})
        list.AddEntry(AString(name), 0);
    list.Sort(1);
    EXPECT_EQ(EntriesOf(list),
              (std::vector<AString>{AString("?0"), AString("90s"), AString("Jazz"), AString("Rock")}));
    list.Sort(0);
    EXPECT_EQ(EntriesOf(list),
              (std::vector<AString>{AString("?0"), AString("Rock"), AString("Jazz"), AString("90s")}));
}

TEST(ADirPlayListsTest, PlaylistChangesGoToTheSourceByName) {
    RecordingSource source(ADir::kTypePod);
    ADirPlayListsPod list;
    EXPECT_EQ(list.GetRootPath(), "IPOD_PLAYLISTS");
    EXPECT_EQ(list.CreatePlayList(AString("Party?5")), kErrorNotConnected);
    list.SetPod(&source);
    EXPECT_EQ(list.GetRootPath(), AString("IPOD_PLAYLISTS ") + source.GetRootPath());
    const AString root = list.GetRootPath();
    EXPECT_EQ(list.CreatePlayList(root + "\\Party?12"), 0);
    EXPECT_EQ(list.CreatePlayList(AString("Who??3")), 0);
    EXPECT_EQ(list.CreatePlayList(AString("?0")), 0);
    EXPECT_EQ(source.created, (std::vector<AString>{AString("Party"), AString("Who?")}));
    EXPECT_EQ(list.DeletePlayList(AString("Old?1")), -8);
    EXPECT_EQ(source.deleted, (std::vector<AString>{AString("Old")}));
}

TEST(ADirPlayListsTest, DescriptionsNameTheKindOfSource) {
    AString text;
    ADirPlayListsPod pod;
    EXPECT_EQ(pod.GetDescription(text, 1), "");
    EXPECT_EQ(pod.GetDescription(text, 0), "iPod Playlist");
    RecordingSource remote(ADir::kTypeTunesRemote);
    pod.SetPod(&remote);
    EXPECT_EQ(pod.GetDescription(text, 1), "iTunes Playlist Other Computer");
    RecordingSource ipod(ADir::kTypePod);
    pod.SetPod(&ipod);
    EXPECT_EQ(pod.GetDescription(text, 1), "iPod Playlist");
    ADirPlayListsTunes tunes;
    tunes.SetTunes(&remote);
    EXPECT_EQ(tunes.GetDescription(text, 0), "iTunes Playlist Other Computer");
}

TEST(ADirPlayListsTest, FileOperationsAreRefusedAndTheRecordIsThePlainOne) {
    ADirPlayListsPod pod;
    ADirPlayListsTunes tunes;
    AString path;
    AddFileSongInfo info;
    EXPECT_EQ(pod.GetFullPath(AString("x"), path, 0), kErrorPodPlayListNoPath);
    EXPECT_EQ(tunes.GetFullPath(AString("x"), path, 0), kErrorTunesPlayListNoPath);
    EXPECT_EQ(pod.AddFile(AString("x"), info), kErrorPodPlayListAddFile);
    EXPECT_EQ(tunes.AddFile(AString("x"), info), kErrorTunesPlayListAddFile);
    EXPECT_EQ(pod.DeleteFile(AString("x"), 0, 0), kErrorPodPlayListDeleteFile);
    EXPECT_EQ(tunes.DeleteFile(AString("x"), 0, 0), kErrorTunesPlayListDeleteFile);
    EXPECT_EQ(pod.FileExists(AString("x")), 0u);
    EXPECT_EQ(pod.GetFileDate(AString("x")), 0u);
    EXPECT_EQ(pod.Open(nullptr, 0, CancelCallback()), 0);

    pod.AddEntry(AString("Party"), 0);
    pod.AddEntry(AString(), 0);
    AMemFile stream;
    ASSERT_EQ(pod.Save(stream, 0), 0);
    EXPECT_EQ(stream.GetBuffer()[0], 0x0D);
    ADir plain;
    AMemFile reader(stream.GetBuffer(), stream.GetSize());
    ASSERT_EQ(plain.Load(reader, 0), 0);
    EXPECT_EQ(EntriesOf(plain), (std::vector<AString>{AString("Party"), AString()}));
    ADirPlayListsPod loaded;
    AMemFile again(stream.GetBuffer(), stream.GetSize());
    ASSERT_EQ(loaded.Load(again, 0), 0);
    EXPECT_EQ(loaded.GetCount(), 2);
}
