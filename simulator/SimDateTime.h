#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The logger's calendar: years 1996 to 2250 (one byte above 1996 on the wire),
// and the leap rule of its clock chip, every fourth year with no century rule.
namespace sim {

constexpr int kBaseYear = 1996;
constexpr int kLastYear = 2250;

struct DateTime {
    int year = kBaseYear;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const DateTime&) const = default;
};

int daysInMonth(int year, int month);
bool isValid(const DateTime& dt);

// Seconds since 1 January 1996 00:00:00 on the logger's calendar; dt must be valid.
std::int64_t toSeconds(const DateTime& dt);
DateTime fromSeconds(std::int64_t seconds);

// 0 = Sunday ... 6 = Saturday.
int weekday(const DateTime& dt);

// Six bytes: year - 1996, month, day, hour, minute, second.
std::string dateTimeBytes(const DateTime& dt);
// The "not set" record: six bytes of 255.
std::string unsetDateTimeBytes();
// Reads six bytes at offset; nothing when they do not form a valid date-time.
std::optional<DateTime> readDateTime(const std::string& bytes, std::size_t offset);

// The computer's local time, clamped into the logger's years.
DateTime localNow();

} // namespace sim
