#include "library/itunes/ITunesDates.h"

#include "foundation/FileOps.h"

#include <gtest/gtest.h>

namespace {

TEST(ITunesDates, DatesBefore1900AreTheStartOfUnixTime) {
    for (const double date : {0.0, -100.0, 1.5})
        EXPECT_EQ(MacTimeFromOleDate(date), 2082830400u) << date;
}

TEST(ITunesDates, ATimeGoesThereAndBack) {
    for (const int64_t unixTime : {int64_t{0}, int64_t{1000000000}, int64_t{1700000123}}) {
        const uint64_t macTime = UnixToMacTime(unixTime);
        EXPECT_EQ(MacTimeFromOleDate(OleDateFromMacTime(macTime)), macTime) << unixTime;
    }
    EXPECT_EQ(OleDateFromMacTime(0), 0.0);
}

} // namespace
