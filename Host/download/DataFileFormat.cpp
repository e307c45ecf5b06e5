#include "DataFileFormat.h"

#include <QDate>

#include <cmath>

QByteArray NumberText(double value) {
    // Zero (and minus zero) is plain 0; a value that is not a number cannot be
    // written as one, and no logger field produces it.
    if (value == 0.0 || !std::isfinite(value))
        return "0";
    QByteArray digits = QByteArray::number(value, 'f', QLocale::FloatingPointShortest);
    if (digits.startsWith("0."))
        digits.remove(0, 1);
    else if (digits.startsWith("-0."))
        digits.remove(1, 1);
    return digits;
}

QString SanitisedText(const QString& text) {
    QString result = text;
    for (QChar& c : result) {
        if (c == u'"')
            c = u'\'';
        else if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return result;
}

QByteArray TextField(const QString& text) {
    return '"' + SanitisedText(text).toUtf8() + '"';
}

QByteArray CsvLine(const QList<QByteArray>& fields) {
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += fields[i];
    }
    return line + "\r\n";
}

QString ShortDateIn(const QLocale& locale, const LoggerDateTime& value) {
    if (!IsValidDateTime(value))
        return {};
    return locale.toString(QDate(value.year, value.month, value.day), QLocale::ShortFormat);
}

QString DateTimeTextIn(const QLocale& locale, const LoggerDateTime& value,
                       const QString& defaultText) {
    if (!IsValidDateTime(value))
        return defaultText;
    return TimeText(value) + QStringLiteral(" , ") + ShortDateIn(locale, value);
}
