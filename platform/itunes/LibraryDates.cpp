#include "platform/itunes/LibraryDates.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace itunesapp {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 to the OLE epoch 1899-12-30 and to 1904-01-01.
constexpr int64_t kOleEpochDay = -25569;
constexpr int64_t kMacEpochDay = -24107;
// OLE dates of 0100-01-01 and 9999-12-31, the range the automation type allows.
constexpr double kFirstOleDate = -657434.0;
constexpr double kLastOleDate = 2958466.0;
// 0001-01-01T00:00:00Z and 9999-12-31T23:59:59Z: the years that four digits hold.
constexpr int64_t kFirstIsoSecond = -62135596800;
constexpr int64_t kLastIsoSecond = 253402300799;

// Days since 1970-01-01 of a proleptic Gregorian date (month 1 to 12).
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

struct CivilDate {
    int64_t year;
    unsigned month;
    unsigned day;
};

CivilDate CivilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2), month, day};
}

int64_t FloorDiv(int64_t value, int64_t divisor) {
    const int64_t quotient = value / divisor;
    return quotient - ((value % divisor) < 0);
}

// The local calendar time at `unixSeconds` as seconds since 1970-01-01 00:00 of that calendar.
int64_t LocalCalendarSeconds(int64_t unixSeconds) {
    const auto time = static_cast<time_t>(unixSeconds);
    struct tm local {};
    if (!localtime_r(&time, &local))
        return unixSeconds;
    const int64_t days =
        DaysFromCivil(int64_t(local.tm_year) + 1900, unsigned(local.tm_mon + 1), unsigned(local.tm_mday));
    return days * kSecondsPerDay + local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

// The Unix time whose local calendar time is `localSeconds`: the zone's offset at a first guess, then
// at the guess corrected by it, so that a change of summer time in between counts. Not mktime: glibc's
// reads the time zone file again on every call, which made dates the largest cost of reading a library.
int64_t UnixFromLocalCalendarSeconds(int64_t localSeconds) {
    int64_t guess = localSeconds;
    for (int round = 0; round < 2; ++round)
        guess = localSeconds - (LocalCalendarSeconds(guess) - guess);
    return guess;
}

bool ReadNumber(std::string_view text, size_t position, size_t digits, int& value) {
    if (text.size() < position + digits)
        return false;
    value = 0;
    for (size_t i = position; i < position + digits; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

void AppendDigits(std::string& out, int64_t value, int digits) {
    char text[24];
    for (int i = digits - 1; i >= 0; --i, value /= 10)
        text[i] = static_cast<char>('0' + value % 10);
    out.append(text, static_cast<size_t>(digits));
}

} // namespace

double OleDateFromUnix(int64_t unixSeconds) {
    if (unixSeconds == kNoDate)
        return 0.0;
    const int64_t local = LocalCalendarSeconds(unixSeconds);
    const int64_t day = FloorDiv(local, kSecondsPerDay) - kOleEpochDay;
    const double fraction =
        static_cast<double>(local - FloorDiv(local, kSecondsPerDay) * kSecondsPerDay) / kSecondsPerDay;
    // Before the epoch the automation type counts the day backwards but the time of day forwards.
    return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

bool UnixFromOleDate(double oleDate, int64_t& unixSeconds) {
    if (!(oleDate >= kFirstOleDate && oleDate < kLastOleDate))
        return false;
    const double wholeDays = std::trunc(oleDate);
    int64_t day = static_cast<int64_t>(wholeDays);
    int64_t second = std::llround(std::fabs(oleDate - wholeDays) * kSecondsPerDay);
    if (second >= kSecondsPerDay) {
        second -= kSecondsPerDay;
        day += oleDate >= 0 ? 1 : -1;
    }
    unixSeconds = UnixFromLocalCalendarSeconds((day + kOleEpochDay) * kSecondsPerDay + second);
    return true;
}

bool ParseIsoDate(std::string_view text, int64_t& unixSeconds) {
    int year, month, day, hour = 0, minute = 0, second = 0;
    if (!ReadNumber(text, 0, 4, year) || text.size() < 10 || text[4] != '-' || text[7] != '-' ||
        !ReadNumber(text, 5, 2, month) || !ReadNumber(text, 8, 2, day))
        return false;
    if (text.size() > 10) {
        if (text.size() < 19 || text[10] != 'T' || text[13] != ':' || text[16] != ':' ||
            !ReadNumber(text, 11, 2, hour) || !ReadNumber(text, 14, 2, minute) ||
            !ReadNumber(text, 17, 2, second))
            return false;
        if (text.size() > 19 && text.substr(19) != "Z")
            return false;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return false;
    unixSeconds = DaysFromCivil(year, unsigned(month), unsigned(day)) * kSecondsPerDay + hour * 3600 +
                  minute * 60 + second;
    return true;
}

void AppendIsoDate(std::string& out, int64_t unixSeconds) {
    unixSeconds = std::clamp(unixSeconds, kFirstIsoSecond, kLastIsoSecond);
    const int64_t days = FloorDiv(unixSeconds, kSecondsPerDay);
    const int64_t second = unixSeconds - days * kSecondsPerDay;
    const CivilDate date = CivilFromDays(days);
    AppendDigits(out, date.year, 4);
    out += '-';
    AppendDigits(out, date.month, 2);
    out += '-';
    AppendDigits(out, date.day, 2);
    out += 'T';
    AppendDigits(out, second / 3600, 2);
    out += ':';
    AppendDigits(out, second / 60 % 60, 2);
    out += ':';
    AppendDigits(out, second % 60, 2);
    out += 'Z';
}

int64_t LocalSecondsSince1904(int64_t unixSeconds) {
    return LocalCalendarSeconds(unixSeconds) - kMacEpochDay * kSecondsPerDay;
}

} // namespace itunesapp
