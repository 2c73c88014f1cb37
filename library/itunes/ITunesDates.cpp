#include "library/itunes/ITunesDates.h"

#include "foundation/FileOps.h"
#include "platform/itunes/LibraryDates.h"

#include <algorithm>

namespace {

// 1900-01-01 00:00 as an OLE date.
constexpr double kFirstOleDateOf1900 = 2.0;

} // namespace

uint64_t MacTimeFromOleDate(double oleDate) {
    int64_t unixSeconds = 0;
    if (!(oleDate >= kFirstOleDateOf1900) || !itunesapp::UnixFromOleDate(oleDate, unixSeconds))
        unixSeconds = 0;
    return UnixToMacTime(std::max<int64_t>(unixSeconds, -static_cast<int64_t>(kMacTimeOffset)));
}

double OleDateFromMacTime(uint64_t macTime) {
    return macTime == 0 ? 0.0 : itunesapp::OleDateFromUnix(MacToUnixTime(macTime));
}
