// Byte-string decoders and the calendar arithmetic: every position of every
// input reads without leaving the string, each value re-encodes to the bytes it
// came from where the encoding is exact, and the carry agrees with the platform
// calendar wherever the two calendars agree.

#include "Convert.h"
#include "FuzzChecks.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

void CheckReadsAt(const QByteArray& bytes, int position) {
    const qint16 word = ReadWord(bytes, position);
    FUZZ_CHECK(word >= -1);
    if (word >= 0)
        FUZZ_CHECK(WordToBytes(word) == ReadBytes(bytes, position, 2));
    else
        FUZZ_CHECK(ReadByte(bytes, position) >= 128);

    FUZZ_CHECK(SignedWordToBytes(ReadSignedWord(bytes, position)) == ReadBytes(bytes, position, 2));

    const qint32 number = ReadLong(bytes, position);
    FUZZ_CHECK(number >= 0);
    if (ReadByte(bytes, position) < 128)
        FUZZ_CHECK(LongToBytes(number) == ReadBytes(bytes, position, 4));
    else
        FUZZ_CHECK(number == 0);

    const LoggerDateTime stamp = ReadDateTime(bytes, position);
    FUZZ_CHECK(DateTimeToBytes(stamp) == ReadBytes(bytes, position, 6));
    const LoggerDateTime date = ReadDate(bytes, position);
    const LoggerDateTime time = ReadTime(bytes, position + 3);
    FUZZ_CHECK((LoggerDateTime{date.year, date.month, date.day, time.hour, time.minute,
                               time.second}) == stamp);
    CheckDateHandling(stamp);
}

// Positions at the ends of the int range read nothing and overflow nothing.
void CheckFarPositions(const QByteArray& bytes) {
    const LoggerDateTime nothing{BaseYear, 0, 0, 0, 0, 0};
    for (const int position : {INT_MIN, INT_MIN + 1, INT_MAX - 2, INT_MAX}) {
        FUZZ_CHECK(ReadWord(bytes, position) == 0 && ReadSignedWord(bytes, position) == 0);
        FUZZ_CHECK(ReadLong(bytes, position) == 0);
        FUZZ_CHECK(ReadDateTime(bytes, position) == nothing);
        FUZZ_CHECK(ReadBytes(bytes, position, 6) == QByteArray(6, '\0'));
    }
}

void CheckRounding(qint16 tenths) {
    FUZZ_CHECK(TenthsToWhole(tenths) == static_cast<int>(std::nearbyint(tenths / 10.0)));
}

bool IsNormalised(const LoggerDateTime& value) {
    return value.month >= 1 && value.month <= 12 && value.day >= 1 &&
           value.day <= DaysInMonth(value.year, value.month) && value.hour >= 0 &&
           value.hour < 24 && value.minute >= 0 && value.minute < 60 && value.second >= 0 &&
           value.second < 60;
}

bool BothCalendarsAgree(const LoggerDateTime& value) {
    return value.year >= 1901 && value.year <= 2099;
}

void CheckCarry(const LoggerDateTime& start, int seconds) {
    LoggerDateTime moved = start;
    AddSeconds(moved, seconds);
    CheckDateHandling(moved);
    if (!IsValidDateTime(start))
        return;
    FUZZ_CHECK(IsNormalised(moved));
    LoggerDateTime back = moved;
    SubtractSeconds(back, seconds);
    FUZZ_CHECK(back == start);
    if (seconds != INT_MIN)
        FUZZ_CHECK(AddMinutes(AddMinutes(start, seconds), -seconds) == start);

    if (BothCalendarsAgree(start) && BothCalendarsAgree(moved)) {
        const QDateTime calendar =
            QDateTime(QDate(start.year, start.month, start.day),
                      QTime(start.hour, start.minute, start.second), QTimeZone::utc())
                .addSecs(seconds);
        FUZZ_CHECK(calendar.date() == QDate(moved.year, moved.month, moved.day));
        FUZZ_CHECK(calendar.time() == QTime(moved.hour, moved.minute, moved.second));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = FuzzInput(data, size);
    // Both ends of the string, where bytes start to be missing.
    const int last = static_cast<int>(bytes.size()) + 2;
    for (int position = -1; position <= std::min(last, 24); ++position)
        CheckReadsAt(bytes, position);
    for (int position = std::max(25, last - 8); position <= last; ++position)
        CheckReadsAt(bytes, position);
    CheckFarPositions(bytes);

    qint32 seconds = 0;
    std::memcpy(&seconds, data, std::min(size, sizeof seconds));
    CheckRounding(static_cast<qint16>(seconds));
    CheckRounding(ReadSignedWord(bytes, 1));
    CheckCarry(ReadDateTime(bytes, 5), seconds);
    return 0;
}
