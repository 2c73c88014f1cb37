#include "library/ipod/IPodPrefs.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "library/ipod/PodModelTable.h"
#include "platform/files/NativeFiles.h"

#include <sys/stat.h>

namespace {

constexpr uint8_t kAutoUpdateOff = 0;
constexpr uint8_t kSynced = 1;
constexpr uint8_t kAutoUpdateBit = 1;
constexpr uint32_t kShuffleFamily = 2;

int WriteByte(AFile& file, uint64_t offset, uint8_t value) {
    if (const int result = file.Seek(offset))
        return result;
    return file.Write(&value, 1);
}

// A regular file itself (not a link to one) on the volume of `root`: a crafted volume cannot make us
// write elsewhere.
bool IsOwnRegularFile(const AString& root, const AString& path) {
    struct stat volume {};
    struct stat file {};
    return stat(root.ToSystem8Bit().c_str(), &volume) == 0 && lstat(path.ToSystem8Bit().c_str(), &file) == 0 &&
           S_ISREG(file.st_mode) && file.st_dev == volume.st_dev;
}

// Opening for writing would make a missing file, and writing past its end would lengthen it: the file
// must be there and hold `length` bytes.
int OpenForChange(const AString& root, uint64_t length, AFile& file) {
    const AString path = IPodPrefs::PathOf(root);
    if (!IsOwnRegularFile(root, path))
        return kErrorFileNotFound;
    if (const int result = file.Open(path, AFile::kModeReadWrite, false))
        return result;
    return file.GetLength() < length ? kErrorShortRead : 0;
}

// Reading never makes the file: a missing one is no failure, and `present` says so.
int OpenForReading(const AString& root, uint64_t offset, AFile& file, bool& present) {
    const AString path = IPodPrefs::PathOf(root);
    present = nativefiles::GetStatus(path.ToSystem8Bit()).exists;
    if (!present)
        return 0;
    if (const int result = file.Open(path, AFile::kModeRead, false))
        return result;
    return file.Seek(offset);
}

} // namespace

AString IPodPrefs::PathOf(const AString& root) {
    AString path = root;
    path.AppendPath(kFile);
    return path;
}

int IPodPrefs::PrepareForSync(const AString& root, bool manageIPods, bool manageShuffles) {
    AFile file;
    if (const int result = OpenForChange(root, kSyncedOffset + 1, file))
        return result;
    PodModelInfo model;
    const bool shuffle = GetIPodModelInfo(root, model) == 0 && model.family == kShuffleFamily;
    int result = 0;
    if (shuffle ? manageShuffles : manageIPods)
        result = WriteByte(file, kAutoUpdateOffset, kAutoUpdateOff);
    if (result == 0)
        result = WriteByte(file, kSyncedOffset, kSynced);
    const int closed = file.Close(true);
    return result != 0 ? result : closed;
}

// An iPod prepared by other software, or freshly restored, has no preferences yet: it belongs to no
// library and is updated by hand.
int IPodPrefs::ReadLibraryId(const AString& root, uint64_t& id) {
    AFile file;
    bool present = false;
    if (const int result = OpenForReading(root, kLibraryIdOffset, file, present))
        return result;
    id = 0;
    return present ? recordio::ReadU64(file, id) : 0;
}

int IPodPrefs::ReadAutoUpdate(const AString& root, uint32_t& flag) {
    AFile file;
    bool present = false;
    if (const int result = OpenForReading(root, kAutoUpdateOffset, file, present))
        return result;
    uint8_t byte = 0;
    if (present) {
        if (const int result = file.Read(&byte, 1))
            return result;
    }
    flag = byte & kAutoUpdateBit;
    return 0;
}

int IPodPrefs::WriteLibraryId(const AString& root, uint64_t id) {
    AFile file;
    if (const int result = OpenForChange(root, kLibraryIdOffset + sizeof(id), file))
        return result;
    int result = file.Seek(kLibraryIdOffset);
    if (result == 0)
        result = recordio::WriteU64(file, id);
    const int closed = file.Close(true);
    return result != 0 ? result : closed;
}
