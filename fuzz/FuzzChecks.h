#pragma once

// Invariant checks shared by the fuzz harnesses: a broken invariant aborts, so
// libFuzzer keeps the input that broke it.

#include "DateTime.h"

#include <QByteArray>
#include <QDate>

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

inline QByteArray FuzzInput(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The first length bytes of the input, zero-padded: what a decoder must see the
// same way as the raw input.
inline QByteArray PaddedRecord(const QByteArray& input, int length) {
    QByteArray record = input.left(length);
    record.append(QByteArray(length - record.size(), '\0'));
    return record;
}

// A record either passes validation, and then the platform calendar accepts it,
// or it never reaches the calendar and shows as the default text.
inline void CheckDateHandling(const LoggerDateTime& value) {
    const QString defaultText = QStringLiteral("NOT SET");
    if (!IsValidDateTime(value)) {
        FUZZ_CHECK(DateTimeText(value, defaultText) == defaultText);
        FUZZ_CHECK(ShortDateText(value).isEmpty());
        FUZZ_CHECK(Weekday(value) == -1);
        return;
    }
    FUZZ_CHECK(QDate(value.year, value.month, value.day).isValid());
    FUZZ_CHECK(!ShortDateText(value).isEmpty());
    FUZZ_CHECK(DateTimeText(value, defaultText).startsWith(TimeText(value) + " , "));
    const int weekday = Weekday(value);
    FUZZ_CHECK(weekday >= 0 && weekday <= 6);
}
