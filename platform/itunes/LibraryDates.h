#pragma once
// The dates of the stand-in: kept as UTC Unix seconds, written into the library file as ISO 8601 UTC
// texts, and handed to clients as OLE automation dates (days since 1899-12-30 00:00) in local time,
// as the music application gives them.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace itunesapp {

// A date that is not set (a track never played, a file without a modification date).
inline constexpr int64_t kNoDate = std::numeric_limits<int64_t>::min();

// The OLE date of the local calendar time at `unixSeconds`; 0.0 for kNoDate.
double OleDateFromUnix(int64_t unixSeconds);
// The Unix time of an OLE date read as local calendar time, to the nearest second; false outside the
// years 100 to 9999 (and for NaN).
bool UnixFromOleDate(double oleDate, int64_t& unixSeconds);

// "2008-05-01T13:45:00Z"; a date without its time part is midnight.
bool ParseIsoDate(std::string_view text, int64_t& unixSeconds);
void AppendIsoDate(std::string& out, int64_t unixSeconds);

// Seconds since 1904-01-01 00:00 of the local calendar time at `unixSeconds`: the library file's
// "Play Date", which no reader here uses (they read "Play Date UTC").
int64_t LocalSecondsSince1904(int64_t unixSeconds);

} // namespace itunesapp
