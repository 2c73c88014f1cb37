#include "foundation/ErrorTexts.h"

#include "foundation/ErrorCodes.h"
#include "support/AStringPrinting.h"

#include <gtest/gtest.h>

TEST(ErrorTexts, AppendTheCodesTextOrReplaceForCancel) {
    const struct {
        int code;
        const char* line;
    } cases[] = {
        {-5, "Failed -5: Invalid path."},
        {-1, "Failed -1: End of file encountered."},
        {-11166, "Failed -11166: End of file encountered."},
        {-102394, "Failed -102394: Insufficient free space or Volume Full."},
        {-10000, "Failed -10000: Unknown error encountered."},
        {7, "Failed 7: Unknown error encountered."},
        {kUserCancel, "User cancel activated."},
    };
    for (const auto& c : cases) {
        AString line("Failed ");
        line += c.code;
        EXPECT_EQ(GetErrorText(line, c.code), c.line);
    }
}

// Whatever a check before a sync ends with reads in words.
TEST(ErrorTexts, EveryCodeOfTheChecksBeforeASyncHasWords) {
    for (const int code : {kErrorPodVolumeNotFound, kErrorNoMusicHome, kErrorNoLibraryIdStart, kErrorNoLibraryIdEnd,
                           kErrorOpen, kErrorSeek, kErrorRead, kErrorWrite, kErrorShortRead, kErrorFileNotFound,
                           kErrorPodMarried, kErrorPodPrefsUnreadable, kErrorPodAutoUpdate, kErrorInvalidPlayList}) {
        AString text;
        EXPECT_LT(GetErrorText(text, code).Find("Unknown"), 0) << code;
    }
}
