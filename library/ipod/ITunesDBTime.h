#pragma once
// The times of the iPod database: seconds since 1904-01-01 00:00 of the local calendar, as the iPod
// shows them and as other writers of the format count them. The system's own records count in another
// scale (FileOps.h); the two meet only through these conversions. 0 means "none" in both scales.

#include <cstdint>

// The local calendar at that instant, daylight saving included.
uint32_t ITunesDBTimeFromUnix(int64_t unixSeconds);
int64_t UnixFromITunesDBTime(uint32_t podSeconds);
