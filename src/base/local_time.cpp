#include "local_time.h"

#include <ctime>

int64_t LocalWallClockToTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&tm));
}

std::optional<int64_t> TryLocalWallClockToTime(int year, int month, int day, int hour, int minute,
                                               int second) {
    const int64_t t = LocalWallClockToTime(year, month, day, hour, minute, second);
    if (t != -1) return t;
    const LocalDateTime back = TimeToLocalWallClock(-1);
    const bool same = back.year == year && back.month == month && back.day == day && back.hour == hour &&
                      back.minute == minute && back.second == second;
    if (same) return t;
    return std::nullopt;
}

LocalDateTime TimeToLocalWallClock(int64_t t) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    localtime_r(&tt, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string FormatLocalTime(int64_t t, const char* format) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    localtime_r(&tt, &tm);
    char text[128];
    const size_t n = std::strftime(text, sizeof text, format, &tm);
    return std::string(text, n);
}
