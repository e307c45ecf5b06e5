#pragma once

// Lets data-driven tests carry LoggerDateTime columns, and QCOMPARE show a
// record that differs field by field.

#include "DateTime.h"

#include <QTest>

Q_DECLARE_METATYPE(LoggerDateTime)

inline char* toString(const LoggerDateTime& value) {
    return QTest::toString(QStringLiteral("%1-%2-%3 %4:%5:%6")
                               .arg(value.year)
                               .arg(value.month)
                               .arg(value.day)
                               .arg(value.hour)
                               .arg(value.minute)
                               .arg(value.second));
}
