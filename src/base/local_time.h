// Local wall-clock conversions (process time zone, daylight saving decided by the system).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Seconds since 1970 for a local wall-clock time; -1 when the C library cannot represent it.
int64_t LocalWallClockToTime(int year, int month, int day, int hour, int minute, int second);
// The same, empty only when the C library cannot represent the time: a -1 that is the true answer
// (one second before 1970 UTC) is kept.
std::optional<int64_t> TryLocalWallClockToTime(int year, int month, int day, int hour, int minute,
                                               int second);

struct LocalDateTime {
    int year, month, day, hour, minute, second;
};
LocalDateTime TimeToLocalWallClock(int64_t t);

// strftime of the local time of `t`, e.g. "%Y-%m-%d %H:%M:%S".
std::string FormatLocalTime(int64_t t, const char* format);
