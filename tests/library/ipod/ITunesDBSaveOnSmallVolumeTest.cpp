// A save on a real volume with little room left (a tmpfs the test mounts, which needs root): whatever
// the room, the save succeeds, or is refused at once with both old files kept; it never fails half-way.
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/PodFileSystem.h"
#include "library/ipod/PodSongInfo.h"
#include "platform/files/NativeFiles.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <sched.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kAddedTracks = 40;

class MountedTmpfs {
public:
    // In a mount namespace of the process's own: a volume with an iPod database appearing in every
    // process's mount table would reach the device lists of the window tests running beside this one.
    explicit MountedTmpfs(const std::string& path) : m_path(path) {
        m_mounted = geteuid() == 0 && unshare(CLONE_NEWNS) == 0 &&
                    mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                    mount("tmpfs", path.c_str(), "tmpfs", 0, "size=1m") == 0;
    }
    ~MountedTmpfs() {
        if (m_mounted)
            umount2(m_path.c_str(), MNT_DETACH);
    }
    MountedTmpfs(const MountedTmpfs&) = delete;
    MountedTmpfs& operator=(const MountedTmpfs&) = delete;
    bool IsMounted() const { return m_mounted; }

private:
    std::string m_path;
    bool m_mounted = false;
};

uint64_t BlockSize(const std::string& path) {
    struct statvfs volume {};
    return statvfs(path.c_str(), &volume) == 0 ? volume.f_frsize : 0;
}

uint64_t FreeBytes(const std::string& path) {
    struct statvfs volume {};
    return statvfs(path.c_str(), &volume) == 0 ? uint64_t{volume.f_bavail} * volume.f_frsize : 0;
}

// Takes room until `left` bytes (or the next block above) stay free.
bool FillUpTo(const std::string& filler, uint64_t left) {
    const uint64_t free = FreeBytes(nativefiles::ParentOf(filler));
    if (free <= left)
        return true;
    const int file = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool filled = file >= 0 && posix_fallocate(file, 0, static_cast<off_t>(free - left)) == 0;
    if (file >= 0)
        close(file);
    return filled;
}

PodSongInfo Song(int number) {
    PodSongInfo song;
    song.title = song.displayName =
        AString("A song with a title that takes room ") + AString::FromUInt(number);
    song.artist = "Artist";
    song.path = AString("iPod_Control/Music/F00/S") + AString::FromUInt(number) + ".mp3";
    return song;
}

uint64_t SizeOfNewFiles(ITunesDB& db) {
    AMemFile tree;
    AMemFile shuffle;
    EXPECT_EQ(0, db.GetRoot().Write(tree));
    EXPECT_EQ(0, db.WriteShuffleDB(&shuffle));
    return uint64_t{tree.GetSize()} + shuffle.GetSize();
}

} // namespace

TEST(ITunesDBSaveOnSmallVolume, EverySaveSucceedsOrIsRefusedBeforeAnythingIsWritten) {
    TempDir mountPoint;
    const MountedTmpfs volume(mountPoint.Path());
    if (!volume.IsMounted())
        GTEST_SKIP() << "mounting a tmpfs needs root and a mount namespace of our own";
    const std::string folder = mountPoint.File("iPod_Control/iTunes");
    ASSERT_TRUE(nativefiles::MakeDirectory(mountPoint.File("iPod_Control")));
    ASSERT_TRUE(nativefiles::MakeDirectory(folder));
    const std::string database = folder + "/iTunesDB";
    const std::string shuffle = folder + "/iTunesSD";
    WriteBytes(database, FixtureBytes("ipod/gpod-three-tracks.itdb"));
    ITunesDB db;
    const AString drive(mountPoint.Path());
    ASSERT_EQ(0, db.ReadLibrary(&drive, true, nullptr, nullptr));
    ASSERT_EQ(0, db.Save(nullptr));
    const Bytes oldDatabase = ReadBytes(database);
    const Bytes oldShuffle = ReadBytes(shuffle);
    const std::string filler = mountPoint.File("filler");
    const uint64_t block = BlockSize(folder);
    // A tmpfs swaps two names in one step: the saves keep no copies of the old files.
    EXPECT_TRUE(PodFileSystem::Native().CanExchangeBeside(database));

    // Files take whole blocks: each new track changes how much of their last blocks the two files
    // fill, and each room from a block short of their bytes to a few blocks over is tried.
    int saved = 0;
    int refused = 0;
    for (int track = 0; track < kAddedTracks; ++track) {
        ASSERT_EQ(0, db.AddTrack(Song(track), nullptr, true));
        const uint64_t newBytes = SizeOfNewFiles(db);
        for (uint64_t left = newBytes - block; left < newBytes + 4 * block; left += block) {
            SCOPED_TRACE(std::to_string(left) + " bytes left for " + std::to_string(newBytes) + " new bytes");
            nativefiles::RemoveFile(filler);
            WriteBytes(database, oldDatabase);
            WriteBytes(shuffle, oldShuffle);
            ASSERT_TRUE(FillUpTo(filler, left));
            const int result = db.Save(nullptr);
            if (result == 0) {
                ++saved;
                EXPECT_NE(oldDatabase, ReadBytes(database));
            } else {
                ++refused;
                EXPECT_EQ(kErrorNoSpace, result);
                EXPECT_EQ(oldDatabase, ReadBytes(database));
                EXPECT_EQ(oldShuffle, ReadBytes(shuffle));
            }
            std::vector<nativefiles::DirectoryEntry> names;
            nativefiles::ListDirectory(folder, names);
            EXPECT_EQ(2u, names.size());
        }
    }
    EXPECT_GT(saved, 0);
    EXPECT_GT(refused, 0);
}
