#include "TimeFormats.h"

#include <QRegularExpression>

QString secondsTimeFormat(const QLocale& locale) {
    return locale.timeFormat(QLocale::LongFormat)
        .remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")))
        .trimmed();
}
