#include "SimDateTime.h"

#include "WireBytes.h"

#include <algorithm>
#include <ctime>

namespace sim {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

int daysInYear(int year) {
    return year % 4 == 0 ? 366 : 365;
}

} // namespace

int daysInMonth(int year, int month) {
    switch (month) {
    case 2:
        return year % 4 == 0 ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

bool isValid(const DateTime& dt) {
    return dt.year >= kBaseYear && dt.year <= kLastYear && dt.month >= 1 && dt.month <= 12 &&
           dt.day >= 1 && dt.day <= daysInMonth(dt.year, dt.month) && dt.hour >= 0 &&
           dt.hour < 24 && dt.minute >= 0 && dt.minute < 60 && dt.second >= 0 && dt.second < 60;
}

std::int64_t toSeconds(const DateTime& dt) {
    std::int64_t days = 0;
    for (int y = kBaseYear; y < dt.year; ++y)
        days += daysInYear(y);
    for (int m = 1; m < dt.month; ++m)
        days += daysInMonth(dt.year, m);
    days += dt.day - 1;
    return days * kSecondsPerDay + dt.hour * 3600 + dt.minute * 60 + dt.second;
}

DateTime fromSeconds(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(seconds, 0);
    std::int64_t days = seconds / kSecondsPerDay;
    const std::int64_t rest = seconds % kSecondsPerDay;
    DateTime dt;
    while (days >= daysInYear(dt.year)) {
        days -= daysInYear(dt.year);
        ++dt.year;
    }
    while (days >= daysInMonth(dt.year, dt.month)) {
        days -= daysInMonth(dt.year, dt.month);
        ++dt.month;
    }
    dt.day = static_cast<int>(days) + 1;
    dt.hour = static_cast<int>(rest / 3600);
    dt.minute = static_cast<int>(rest / 60 % 60);
    dt.second = static_cast<int>(rest % 60);
    return dt;
}

int weekday(const DateTime& dt) {
    // 1 January 1996 was a Monday.
    return static_cast<int>((toSeconds(dt) / kSecondsPerDay + 1) % 7);
}

std::string dateTimeBytes(const DateTime& dt) {
    return {static_cast<char>(dt.year - kBaseYear),
            static_cast<char>(dt.month),
            static_cast<char>(dt.day),
            static_cast<char>(dt.hour),
            static_cast<char>(dt.minute),
            static_cast<char>(dt.second)};
}

std::string unsetDateTimeBytes() {
    return std::string(6, static_cast<char>(0xFF));
}

std::optional<DateTime> readDateTime(const std::string& bytes, std::size_t offset) {
    if (bytes.size() < offset + 6)
        return std::nullopt;
    const DateTime dt{kBaseYear + byteAt(bytes, offset), byteAt(bytes, offset + 1),
                      byteAt(bytes, offset + 2),         byteAt(bytes, offset + 3),
                      byteAt(bytes, offset + 4),         byteAt(bytes, offset + 5)};
    if (!isValid(dt))
        return std::nullopt;
    return dt;
}

DateTime localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DateTime dt{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59)};
    dt.year = std::clamp(dt.year, kBaseYear, kLastYear);
    if (!isValid(dt)) // 29 February of a century year, which the logger's chip lacks
        dt.day = daysInMonth(dt.year, dt.month);
    return dt;
}

} // namespace sim
