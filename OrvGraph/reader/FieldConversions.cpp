#include "FieldConversions.h"

#include "DateSerial.h"
#include "FieldText.h"

#include <charconv>
#include <cmath>

namespace {

// Which half of the day a suffix names: 0 for AM, 12 for PM, nothing otherwise.
std::optional<int> halfDayOffset(QByteArrayView suffix, const QLocale& locale) {
    const QString text = QString::fromUtf8(suffix).trimmed();
    const auto matches = [&](const QString& name, QLatin1StringView plain) {
        return text.compare(name, Qt::CaseInsensitive) == 0 ||
               text.compare(plain, Qt::CaseInsensitive) == 0;
    };
    if (matches(locale.amText(), QLatin1StringView("AM")))
        return 0;
    if (matches(locale.pmText(), QLatin1StringView("PM")))
        return 12;
    return std::nullopt;
}

} // namespace

std::optional<double> parseNumber(QByteArrayView text) {
    text = Trimmed(text);
    qsizetype pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    const qsizetype mantissaStart = pos;
    int digits = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
        ++digits;
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && IsDigit(text[pos])) {
            ++pos;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            ++pos;
        if (pos >= text.size() || !IsDigit(text[pos]))
            return std::nullopt;
        while (pos < text.size() && IsDigit(text[pos]))
            ++pos;
    }
    if (pos != text.size())
        return std::nullopt;
    // from_chars takes no leading plus; the sign is applied here instead.
    double value = 0.0;
    const char* first = text.data() + mantissaStart;
    const auto result = std::from_chars(first, text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = HUGE_VAL; // too large for any level; the caller reports the overflow
    else if (result.ec != std::errc())
        return std::nullopt;
    return text[0] == '-' ? -value : value;
}

std::optional<double> parseTypedNumber(const QString& text, const QLocale& locale) {
    // Without group separators a point is never one, so "1.500" under a locale
    // that groups with points reads as the files' 1.5.
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(text.trimmed(), &ok);
    if (ok)
        return value;
    return parseNumber(text.trimmed().toUtf8());
}

std::optional<double> parseTimeOfDay(QByteArrayView text, const QLocale& locale) {
    text = Trimmed(text);
    qsizetype pos = 0;
    const auto hour = ReadDigits(text, pos, 1, 2);
    if (!hour || pos >= text.size() || text[pos] != ':')
        return std::nullopt;
    ++pos;
    const qsizetype minuteStart = pos;
    const auto minute = ReadDigits(text, pos, 1, 2);
    if (!minute || pos - minuteStart != 2)
        return std::nullopt;
    int second = 0;
    int millisecond = 0;
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        const qsizetype secondStart = pos;
        const auto value = ReadDigits(text, pos, 1, 2);
        if (!value || pos - secondStart != 2)
            return std::nullopt;
        second = *value;
        if (pos < text.size() && text[pos] == '.') {
            ++pos;
            const qsizetype fractionStart = pos;
            const auto fraction = ReadDigits(text, pos, 1, 3);
            if (!fraction)
                return std::nullopt;
            millisecond = *fraction;
            for (qsizetype n = pos - fractionStart; n < 3; ++n)
                millisecond *= 10;
        }
    }
    int hours = *hour;
    if (pos < text.size()) {
        const auto offset = halfDayOffset(text.sliced(pos), locale);
        if (!offset || hours < 1 || hours > 12)
            return std::nullopt;
        hours = hours % 12 + *offset;
    }
    if (hours > 23 || *minute > 59 || second > 59)
        return std::nullopt;
    const int msecs = ((hours * 60 + *minute) * 60 + second) * 1000 + millisecond;
    return msecs / (DateSerial::kSecondsPerDay * 1000.0);
}
