// The iPod database counts from 1904 on the local calendar: the same instant has another count in
// each time zone and season, and the system's own count (FileOps.h) is none of them.
#include "library/ipod/ITunesDBTime.h"

#include "foundation/FileOps.h"
#include "support/ScopedTimeZone.h"

#include <gtest/gtest.h>

namespace {

// New York's and India's rules, written out so that no zone database is needed.
constexpr char kNewYork[] = "EST5EDT,M3.2.0,M11.1.0";
constexpr char kIndia[] = "IST-5:30";

constexpr int64_t kNovember2023 = 1700000000; // 2023-11-14 22:13:20 UTC, 17:13:20 EST
constexpr int64_t kJuly2023 = 1690000000;     // 2023-07-22 04:26:40 UTC, 00:26:40 EDT

struct ZoneCase {
    const char* zone;
    int64_t unixSeconds;
    uint32_t podSeconds;
};

} // namespace

TEST(ITunesDBTime, CountsOnTheLocalCalendarOfEachInstant) {
    // The counts libgpod writes for these instants in these zones.
    const ZoneCase cases[] = {
        {"UTC0", kNovember2023, 3782844800u},
        {kNewYork, kNovember2023, 3782826800u},
        {kNewYork, kJuly2023, 3772830400u},
        {kIndia, kNovember2023, 3782864600u},
    };
    for (const ZoneCase& c : cases) {
        const ScopedTimeZone zone(c.zone);
        EXPECT_EQ(c.podSeconds, ITunesDBTimeFromUnix(c.unixSeconds)) << c.zone << " " << c.unixSeconds;
        EXPECT_EQ(c.unixSeconds, UnixFromITunesDBTime(c.podSeconds)) << c.zone << " " << c.unixSeconds;
    }
}

TEST(ITunesDBTime, NoneStaysNoneAndTheSystemScaleIsAnother) {
    const ScopedTimeZone zone(kNewYork);
    EXPECT_EQ(0u, ITunesDBTimeFromUnix(0));
    EXPECT_EQ(0, UnixFromITunesDBTime(0));
    EXPECT_NE(UnixToMacTime(kNovember2023), ITunesDBTimeFromUnix(kNovember2023));
}
