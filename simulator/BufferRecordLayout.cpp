#include "BufferRecordLayout.h"

#include "WireBytes.h"

namespace sim::buffer_record {

namespace {

std::string referenceBytes(int tenths) {
    return tenths < 0 ? std::string(2, static_cast<char>(0xFF)) : wordBytes(tenths);
}

std::string optionalDateTimeBytes(const std::optional<DateTime>& dt) {
    return dt ? dateTimeBytes(*dt) : unsetDateTimeBytes();
}

// An unused timer: type 0, start and stop 1 January 1996, weekdays 0.
std::string noTimer() {
    return '\0' + dateTimeBytes(DateTime{}) + dateTimeBytes(DateTime{}) + std::string(2, '\0');
}

} // namespace

std::string encode(const Settings& s) {
    std::string record;
    record += static_cast<char>((s.aWeighting ? kFlagAWeighting : 0) | (s.slow ? kFlagSlow : 0));
    record += optionalDateTimeBytes(s.start);
    record += optionalDateTimeBytes(s.stop);
    record += noTimer();
    record += noTimer();
    record += static_cast<char>(s.intervalMinutes);
    record += static_cast<char>(s.leqMode * 64 + (s.leqSeconds & 63));
    record += '\0'; // auxiliary output off
    for (unsigned char n : s.percentiles)
        record += static_cast<char>(n);
    record += std::string(8, '\0'); // no triggers
    std::string title = s.title.substr(0, kTitleLength);
    title.resize(kTitleLength, ' ');
    record += title;
    record += referenceBytes(s.preReference);
    record += referenceBytes(s.postReference);
    record += '\0'; // tape power
    record.resize(kSize, '\0');
    return record;
}

void setStart(std::string& record, const DateTime& dt) {
    record.resize(kSize, '\0');
    record.replace(kStart, 6, dateTimeBytes(dt));
}

void setStop(std::string& record, const DateTime& dt) {
    record.resize(kSize, '\0');
    record.replace(kStop, 6, dateTimeBytes(dt));
}

void setPostReference(std::string& record, int tenths) {
    record.resize(kSize, '\0');
    record.replace(kPostReference, 2, referenceBytes(tenths));
}

int leqMode(const std::string& record) {
    return byteAt(record, kLeq) / 64;
}
int leqSeconds(const std::string& record) {
    return byteAt(record, kLeq) & 63;
}
int masterTimerType(const std::string& record) {
    return byteAt(record, kMasterTimer);
}

std::string title(const std::string& record) {
    return record.size() >= kTitle + kTitleLength ? record.substr(kTitle, kTitleLength)
                                                  : std::string();
}

} // namespace sim::buffer_record
