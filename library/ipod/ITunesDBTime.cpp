#include "library/ipod/ITunesDBTime.h"

#include <algorithm>
#include <ctime>
#include <limits>

namespace {

// 24107 days on the calendar from 1904-01-01 to 1970-01-01.
constexpr int64_t kCalendarSeconds1904To1970 = 2082844800;

} // namespace

uint32_t ITunesDBTimeFromUnix(int64_t unixSeconds) {
    if (unixSeconds == 0)
        return 0;
    const time_t time = static_cast<time_t>(unixSeconds);
    std::tm local{};
    if (!localtime_r(&time, &local))
        return 0;
    const int64_t podSeconds = unixSeconds + local.tm_gmtoff + kCalendarSeconds1904To1970;
    return static_cast<uint32_t>(std::clamp<int64_t>(podSeconds, 0, std::numeric_limits<uint32_t>::max()));
}

// The local calendar's fields are read as if they were universal time, then placed in the local zone.
int64_t UnixFromITunesDBTime(uint32_t podSeconds) {
    if (podSeconds == 0)
        return 0;
    const time_t localSeconds = static_cast<time_t>(int64_t{podSeconds} - kCalendarSeconds1904To1970);
    std::tm calendar{};
    if (!gmtime_r(&localSeconds, &calendar))
        return localSeconds;
    calendar.tm_isdst = -1;
    const time_t unixSeconds = mktime(&calendar);
    return unixSeconds == -1 ? localSeconds : unixSeconds;
}
