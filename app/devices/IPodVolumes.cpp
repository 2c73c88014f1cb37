#include "app/devices/IPodVolumes.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/PodModelTable.h"
#include "platform/volumes/VolumeTable.h"

namespace {

constexpr size_t kMaskBits = 32;
constexpr uint8_t kAutoUpdateOff = 0;
constexpr uint8_t kSynced = 1;
constexpr uint32_t kShuffleFamily = 2;

uint32_t BitOfIndex(size_t index) {
    return index < kMaskBits ? (uint32_t{1} << index) : 0;
}

bool ReadsAsIPod(const AString& root, AString& podName) {
    ITunesDB database;
    if (database.Read(root, true) != 0)
        return false;
    database.GetPodName(podName);
    return true;
}

int WriteByte(AFile& file, uint64_t offset, uint8_t value) {
    if (const int result = file.Seek(offset))
        return result;
    return file.Write(&value, 1);
}

} // namespace

std::vector<UVolume> IPodVolumes::Find(uint32_t mask) {
    std::vector<UVolume> found;
    const std::vector<nativevolumes::Volume> volumes = nativevolumes::VolumeTable::Instance().List();
    for (size_t i = 0; i < volumes.size(); ++i) {
        const uint32_t bit = BitOfIndex(i);
        if (mask != 0 && (mask & bit) == 0)
            continue;
        UVolume volume{bit, AString::FromSystem8Bit(volumes[i].mountPoint).WithTrailingSeparator(), {}};
        if (ReadsAsIPod(volume.root, volume.podName))
            found.push_back(std::move(volume));
    }
    return found;
}

uint32_t IPodVolumes::DriveBitOf(const AString& root) {
    const std::vector<nativevolumes::Volume> volumes = nativevolumes::VolumeTable::Instance().List();
    const AString wanted = root.WithTrailingSeparator();
    for (size_t i = 0; i < volumes.size(); ++i) {
        if (AString::FromSystem8Bit(volumes[i].mountPoint).WithTrailingSeparator() == wanted)
            return BitOfIndex(i);
    }
    return 0;
}

int IPodVolumes::PrepareForSync(const AString& root, bool manageIPods, bool manageShuffles) {
    AString path = root;
    path.AppendPath(kPrefsFile);
    // Opening for writing would make a missing file, and writing past its end would lengthen it.
    if (!FileExists(path))
        return kErrorFileNotFound;
    AFile file;
    if (const int result = file.Open(path, AFile::kModeReadWrite, false))
        return result;
    if (file.GetLength() <= kSyncedOffset)
        return kErrorShortRead;
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
