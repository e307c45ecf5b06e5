#include "TimerWindows.h"

#include "BufferRecordLayout.h"

#include <cstdint>

namespace sim {

namespace {

constexpr int kNoTimer = 0, kHourly = 1, kDaily = 2, kWeekly = 3, kOneShot = 4;

struct Timer {
    int kind = kNoTimer;
    DateTime start, end;
    int startDay = 0, endDay = 0;
};

int byteAt(const std::string& record, std::size_t offset) {
    return offset < record.size() ? static_cast<unsigned char>(record[offset]) : 0;
}

DateTime dateTimeAt(const std::string& record, std::size_t offset) {
    return {kBaseYear + byteAt(record, offset), byteAt(record, offset + 1),
            byteAt(record, offset + 2),         byteAt(record, offset + 3),
            byteAt(record, offset + 4),         byteAt(record, offset + 5)};
}

Timer timerAt(const std::string& record, std::size_t offset) {
    return {byteAt(record, offset), dateTimeAt(record, offset + 1), dateTimeAt(record, offset + 7),
            byteAt(record, offset + 13), byteAt(record, offset + 14)};
}

// A window from start to end that may wrap past the end of its cycle.
bool inWindow(std::int64_t value, std::int64_t start, std::int64_t end) {
    return start < end ? value >= start && value < end : value >= start || value < end;
}

std::int64_t timeOfDay(const DateTime& dt) {
    return dt.hour * 3600 + dt.minute * 60 + dt.second;
}

bool openAt(const Timer& timer, const DateTime& at) {
    switch (timer.kind) {
    case kHourly:
        return inWindow(at.minute, timer.start.minute, timer.end.minute);
    case kDaily:
        return inWindow(timeOfDay(at), timeOfDay(timer.start), timeOfDay(timer.end));
    case kWeekly:
        return inWindow(weekday(at) * 86400 + timeOfDay(at),
                        timer.startDay * 86400 + timeOfDay(timer.start),
                        timer.endDay * 86400 + timeOfDay(timer.end));
    case kOneShot:
        return toSeconds(at) >= toSeconds(timer.start) && toSeconds(at) < toSeconds(timer.end);
    default:
        return true;
    }
}

} // namespace

bool timersOpenAt(const std::string& record, const DateTime& at) {
    return openAt(timerAt(record, buffer_record::kMasterTimer), at) &&
           openAt(timerAt(record, buffer_record::kSubTimer), at);
}

bool oneShotOverAt(const std::string& record, const DateTime& at) {
    const Timer master = timerAt(record, buffer_record::kMasterTimer);
    return master.kind == kOneShot && toSeconds(at) >= toSeconds(master.end);
}

} // namespace sim
