#include "platform/itunes/LibraryDates.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

using namespace itunesapp;

namespace {

// Central European time with its summer time, whatever the machine's zone.
class LibraryDates : public ::testing::Test {
protected:
    void SetUp() override {
        const char* zone = std::getenv("TZ");
        m_savedZone = zone ? zone : "";
        m_hadZone = zone != nullptr;
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    void TearDown() override {
        if (m_hadZone)
            setenv("TZ", m_savedZone.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string m_savedZone;
    bool m_hadZone = false;
};

constexpr int64_t kJuly2008Noon = 1214913600;    // 2008-07-01T12:00:00Z, 14:00 in summer time
constexpr int64_t kJanuary2008Noon = 1199188800; // 2008-01-01T12:00:00Z, 13:00 in winter time
constexpr double kOleJuly2008 = 39630.0;         // 2008-07-01
constexpr double kOleJanuary2008 = 39448.0;      // 2008-01-01

} // namespace

TEST_F(LibraryDates, OleDatesAreLocalCalendarTime) {
    EXPECT_DOUBLE_EQ(OleDateFromUnix(kJuly2008Noon), kOleJuly2008 + 14.0 / 24);
    EXPECT_DOUBLE_EQ(OleDateFromUnix(kJanuary2008Noon), kOleJanuary2008 + 13.0 / 24);
    EXPECT_EQ(OleDateFromUnix(kNoDate), 0.0);
    for (const int64_t time :
         {kJuly2008Noon, kJanuary2008Noon, int64_t{0}, int64_t{-2209161600}, int64_t{1700000123}}) {
        int64_t back = 0;
        ASSERT_TRUE(UnixFromOleDate(OleDateFromUnix(time), back)) << time;
        EXPECT_EQ(back, time);
    }
}

TEST_F(LibraryDates, DaysBeforeTheEpochCountBackwardsButTheirHoursForwards) {
    // 1899-12-29 06:00 local time is -1.25; 1899-12-30 18:00 is 0.75.
    int64_t time = 0;
    ASSERT_TRUE(UnixFromOleDate(-1.25, time));
    EXPECT_DOUBLE_EQ(OleDateFromUnix(time), -1.25);
    const time_t stamp = static_cast<time_t>(time);
    struct tm local {};
    localtime_r(&stamp, &local);
    EXPECT_EQ(local.tm_year, -1);
    EXPECT_EQ(local.tm_mday, 29);
    EXPECT_EQ(local.tm_hour, 6);
    ASSERT_TRUE(UnixFromOleDate(0.75, time));
    EXPECT_DOUBLE_EQ(OleDateFromUnix(time), 0.75);
}

TEST_F(LibraryDates, RefusesOleDatesOutsideTheYearsOfTheType) {
    int64_t time = 0;
    EXPECT_FALSE(UnixFromOleDate(3e6, time));
    EXPECT_FALSE(UnixFromOleDate(-7e5, time));
    EXPECT_FALSE(UnixFromOleDate(std::numeric_limits<double>::quiet_NaN(), time));
}

TEST_F(LibraryDates, IsoTextsAreUtc) {
    std::string text;
    AppendIsoDate(text, kJuly2008Noon);
    EXPECT_EQ(text, "2008-07-01T12:00:00Z");
    int64_t time = 0;
    ASSERT_TRUE(ParseIsoDate("2008-07-01T12:00:00Z", time));
    EXPECT_EQ(time, kJuly2008Noon);
    ASSERT_TRUE(ParseIsoDate("1969-12-31", time));
    EXPECT_EQ(time, -86400);
    for (const char* bad :
         {"", "2008-7-1", "2008-07-01T12:00", "2008-13-01T00:00:00Z", "2008-07-01T12:00:00+02"})
        EXPECT_FALSE(ParseIsoDate(bad, time)) << bad;
}

TEST_F(LibraryDates, PlayDateCountsLocalSecondsFrom1904) {
    // 2008-07-01 14:00 local time; 1904-01-01 is 24107 days before 1970-01-01.
    EXPECT_EQ(LocalSecondsSince1904(kJuly2008Noon), kJuly2008Noon + 2 * 3600 + 24107LL * 86400);
}
