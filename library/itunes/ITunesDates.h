#pragma once
// The music application's dates (OLE automation dates in local time) as the records keep them:
// seconds since 1904, formed as the local-time Unix time plus 2,082,830,400.

#include <cstdint>

// A date before 1900 (0.0 among them) gives 2,082,830,400, the Unix time 0.
uint64_t MacTimeFromOleDate(double oleDate);
// The way back; the application's date for a played time of 0 is "never", 0.0.
double OleDateFromMacTime(uint64_t macTime);
