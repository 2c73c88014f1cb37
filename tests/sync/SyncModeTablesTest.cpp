// The names of the six sync modes and the sentences telling what happens on each side, in both
// wordings, and the mode a direction and delete mode stand for.

#include "sync/SyncModeTables.h"

#include "sync/SyncOptions.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct Wording {
    const char* pod;
    const char* remote;
};

void ExpectTable(const char* (*table)(int, bool), const std::vector<Wording>& expected) {
    for (size_t mode = 0; mode < expected.size(); ++mode) {
        SCOPED_TRACE(mode);
        ASSERT_NE(table(int(mode), false), nullptr);
        EXPECT_STREQ(table(int(mode), false), expected[mode].pod);
        EXPECT_STREQ(table(int(mode), true), expected[mode].remote);
    }
    EXPECT_EQ(table(int(expected.size()), false), nullptr);
    EXPECT_EQ(table(-1, true), nullptr);
}

} // namespace

TEST(SyncModeTables, ModeFollowsDirectionAndDeleteMode) {
    EXPECT_EQ(SyncModeOf(kDirectionBoth, 1), kModeSync);
    EXPECT_EQ(SyncModeOf(kDirectionBoth, 0), kModeMerge);
    EXPECT_EQ(SyncModeOf(kDirection1To2, 0), kModeCopy1To2);
    EXPECT_EQ(SyncModeOf(kDirection2To1, 0), kModeCopy2To1);
    EXPECT_EQ(SyncModeOf(kDirection1To2, 1), kModeMake2Equal1);
    EXPECT_EQ(SyncModeOf(kDirection2To1, 1), kModeMake1Equal2);
    EXPECT_EQ(SyncModeOf(kDirectionSkipped, 1), kModeNone);
    EXPECT_EQ(SyncModeOf(0, 0), kModeNone);
}

TEST(SyncModeTables, EveryModeGivesBackItsSettings) {
    for (int mode = kModeSync; mode < kModeNone; ++mode) {
        uint32_t direction = 0;
        uint32_t deleteMode = 7;
        ASSERT_TRUE(SyncModeSettings(mode, direction, deleteMode)) << mode;
        EXPECT_EQ(SyncModeOf(direction, deleteMode), mode);
    }
    uint32_t direction = 9;
    uint32_t deleteMode = 9;
    EXPECT_FALSE(SyncModeSettings(kModeNone, direction, deleteMode));
    EXPECT_FALSE(SyncModeSettings(-1, direction, deleteMode));
    EXPECT_EQ(direction, 9u);
}

TEST(SyncModeTables, Names) {
    ExpectTable(SyncModeName, {
                                  {"Sync iTunes and iPod", "Sync iTunes and Remote"},
                                  {"Merge iTunes and iPod", "Merge iTunes and Remote"},
                                  {"Copy iTunes to iPod", "Copy iTunes to Remote"},
                                  {"Copy iPod to iTunes", "Copy Remote to iTunes"},
                                  {"Make iPod equal to iTunes", "Make Remote equal to iTunes"},
                                  {"Make iTunes equal to iPod", "Make iTunes equal to Remote"},
                              });
    EXPECT_EQ(SyncModeName(kModeNone, false), nullptr);
}

TEST(SyncModeTables, WhatHappensOnSide1) {
    ExpectTable(
        SyncModeSide1Text,
        {
            {"All files in the iPod will be copied to iTunes. All files deleted from the iPod since the "
             "last sync will be deleted on iTunes.",
             "All files in the remote iTunes will be copied to the local iTunes. All files deleted from "
             "the remote iTunes since the last sync will be deleted on the local iTunes."},
            {"All files in the iPod will be copied to iTunes. No files will be deleted on iTunes.",
             "All files in the remote iTunes will be copied to the local iTunes. No files will be "
             "deleted on the local iTunes."},
            {"No files are changed on iTunes.", "No files are changed on the local iTunes."},
            {"All files in the iPod will be copied to iTunes.",
             "All files in the remote iTunes will be copied to the local iTunes."},
            {"No files are changed on iTunes.", "No files are changed on the local iTunes."},
            {"All files in the iPod will be copied to iTunes. All files not in the iPod will be deleted "
             "from iTunes.",
             "All files in the remote iTunes will be copied to the local iTunes. All files not in the "
             "remote iTunes will be deleted on the local iTunes."},
            {"No files are changed on iTunes.", "No files are changed on the local iTunes."},
            {"", ""},
        });
}

TEST(SyncModeTables, WhatHappensOnSide2) {
    ExpectTable(
        SyncModeSide2Text,
        {
            {"All files in iTunes will be copied to the iPod. All files deleted from iTunes since the "
             "last sync will be deleted on the iPod.",
             "All files in the local iTunes will be copied to the remote iTunes. All files deleted from "
             "the local iTunes since the last sync will be deleted on the remote iTunes."},
            {"All files in iTunes will be copied to the iPod. No files will be deleted on the iPod.",
             "All files in the local iTunes will be copied to the remote iTunes. No files will be "
             "deleted on the remote iTunes."},
            {"All files in iTunes will be copied to the iPod.",
             "All files in the local iTunes will be copied to the remote iTunes."},
            {"No files are changed on the iPod.", "No files are changed on the remote iTunes."},
            {"All files in iTunes will be copied to the iPod. All files not in iTunes will be deleted "
             "on the iPod.",
             "All files in the local iTunes will be copied to the remote iTunes. All files not in the "
             "local iTunes will be deleted on the remote iTunes."},
            {"No files are changed on the iPod.", "No files are changed on the remote iTunes."},
            {"No files are changed on the iPod.", "No files are changed on the remote iTunes."},
            {"", ""},
        });
}
