#include "FieldConversions.h"

#include "DateSerial.h"

#include <charconv>
#include <cmath>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads 1 to maxDigits digits at pos; nothing when there is no digit there.
std::optional<int> readDigits(QByteArrayView text, qsizetype& pos, int maxDigits) {
    int value = 0;
    int digits = 0;
    while (pos < text.size() && digits < maxDigits && isDigit(text[pos])) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

QByteArrayView trimmed(QByteArrayView text) {
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

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
    text = trimmed(text);
    qsizetype pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    const qsizetype mantissaStart = pos;
    int digits = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
        ++digits;
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && isDigit(text[pos])) {
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
        if (pos >= text.size() || !isDigit(text[pos]))
            return std::nullopt;
        while (pos < text.size() && isDigit(text[pos]))
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
    text = trimmed(text);
    qsizetype pos = 0;
    const auto hour = readDigits(text, pos, 2);
    if (!hour || pos >= text.size() || text[pos] != ':')
        return std::nullopt;
    ++pos;
    const qsizetype minuteStart = pos;
    const auto minute = readDigits(text, pos, 2);
    if (!minute || pos - minuteStart != 2)
        return std::nullopt;
    int second = 0;
    int millisecond = 0;
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        const qsizetype secondStart = pos;
        const auto value = readDigits(text, pos, 2);
        if (!value || pos - secondStart != 2)
            return std::nullopt;
        second = *value;
        if (pos < text.size() && text[pos] == '.') {
            ++pos;
            const qsizetype fractionStart = pos;
            const auto fraction = readDigits(text, pos, 3);
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
