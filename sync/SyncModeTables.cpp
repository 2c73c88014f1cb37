#include "sync/SyncModeTables.h"

#include "sync/SyncOptions.h"

namespace {

struct Wordings {
    const char* pod;
    const char* remote;
};

constexpr Wordings kNames[kSyncModeNameCount] = {
    {"Sync iTunes and iPod", "Sync iTunes and Remote"},
    {"Merge iTunes and iPod", "Merge iTunes and Remote"},
    {"Copy iTunes to iPod", "Copy iTunes to Remote"},
    {"Copy iPod to iTunes", "Copy Remote to iTunes"},
    {"Make iPod equal to iTunes", "Make Remote equal to iTunes"},
    {"Make iTunes equal to iPod", "Make iTunes equal to Remote"},
};

constexpr Wordings kSide1Texts[kSyncModeSideTextCount] = {
    {"All files in the iPod will be copied to iTunes. All files deleted from the iPod since the last sync "
     "will be deleted on iTunes.",
     "All files in the remote iTunes will be copied to the local iTunes. All files deleted from the remote "
     "iTunes since the last sync will be deleted on the local iTunes."},
    {"All files in the iPod will be copied to iTunes. No files will be deleted on iTunes.",
     "All files in the remote iTunes will be copied to the local iTunes. No files will be deleted on the "
     "local iTunes."},
    {"No files are changed on iTunes.", "No files are changed on the local iTunes."},
    {"All files in the iPod will be copied to iTunes.",
     "All files in the remote iTunes will be copied to the local iTunes."},
    {"No files are changed on iTunes.", "No files are changed on the local iTunes."},
    {"All files in the iPod will be copied to iTunes. All files not in the iPod will be deleted from iTunes.",
     "All files in the remote iTunes will be copied to the local iTunes. All files not in the remote iTunes "
     "will be deleted on the local iTunes."},
    {"No files are changed on iTunes.", "No files are changed on the local iTunes."},
    {"", ""},
};

constexpr Wordings kSide2Texts[kSyncModeSideTextCount] = {
    {"All files in iTunes will be copied to the iPod. All files deleted from iTunes since the last sync will "
     "be deleted on the iPod.",
     "All files in the local iTunes will be copied to the remote iTunes. All files deleted from the local "
     "iTunes since the last sync will be deleted on the remote iTunes."},
    {"All files in iTunes will be copied to the iPod. No files will be deleted on the iPod.",
     "All files in the local iTunes will be copied to the remote iTunes. No files will be deleted on the "
     "remote iTunes."},
    {"All files in iTunes will be copied to the iPod.",
     "All files in the local iTunes will be copied to the remote iTunes."},
    {"No files are changed on the iPod.", "No files are changed on the remote iTunes."},
    {"All files in iTunes will be copied to the iPod. All files not in iTunes will be deleted on the iPod.",
     "All files in the local iTunes will be copied to the remote iTunes. All files not in the local iTunes "
     "will be deleted on the remote iTunes."},
    {"No files are changed on the iPod.", "No files are changed on the remote iTunes."},
    {"No files are changed on the iPod.", "No files are changed on the remote iTunes."},
    {"", ""},
};

const char* Pick(const Wordings* table, int count, int mode, bool remote) {
    if (mode < 0 || mode >= count)
        return nullptr;
    return remote ? table[mode].remote : table[mode].pod;
}

} // namespace

SyncMode SyncModeOf(uint32_t direction, uint32_t deleteMode) {
    const bool deletes = deleteMode != 0;
    switch (direction) {
    case kDirectionBoth:
        return deletes ? kModeSync : kModeMerge;
    case kDirection1To2:
        return deletes ? kModeMake2Equal1 : kModeCopy1To2;
    case kDirection2To1:
        return deletes ? kModeMake1Equal2 : kModeCopy2To1;
    default:
        return kModeNone;
    }
}

bool SyncModeSettings(int mode, uint32_t& direction, uint32_t& deleteMode) {
    switch (mode) {
    case kModeSync:
    case kModeMerge:
        direction = kDirectionBoth;
        break;
    case kModeCopy1To2:
    case kModeMake2Equal1:
        direction = kDirection1To2;
        break;
    case kModeCopy2To1:
    case kModeMake1Equal2:
        direction = kDirection2To1;
        break;
    default:
        return false;
    }
    deleteMode = mode == kModeSync || mode == kModeMake2Equal1 || mode == kModeMake1Equal2 ? 1 : 0;
    return true;
}

const char* SyncModeName(int mode, bool remote) {
    return Pick(kNames, kSyncModeNameCount, mode, remote);
}

const char* SyncModeSide1Text(int mode, bool remote) {
    return Pick(kSide1Texts, kSyncModeSideTextCount, mode, remote);
}

const char* SyncModeSide2Text(int mode, bool remote) {
    return Pick(kSide2Texts, kSyncModeSideTextCount, mode, remote);
}
