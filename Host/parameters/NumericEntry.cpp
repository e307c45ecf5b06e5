#include "NumericEntry.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr auto InvalidNumberTitle = "Invalid Number Read";
constexpr auto DataEntryTitle = "Data Entry Error";
constexpr auto NoValue = "No value vas read in this field.";
constexpr auto TooLarge = "The number read was too large.";
constexpr auto TooSmall = "The number read was too small.";
constexpr auto NotNumeric = "An invalid value was read.";

// Single-precision numbers carry about seven significant digits.
constexpr int SinglePrecision = 7;

int Decimals(const QString& pattern) {
    const qsizetype point = pattern.indexOf('.');
    return point < 0 ? 0 : int(pattern.size() - point - 1);
}

// Formatted to the pattern, not aligned: required digits are filled with
// zeros, optional decimals that are zero are dropped.
QString Formatted(double value, const QString& pattern) {
    const qsizetype point = pattern.indexOf('.');
    const QString whole = point < 0 ? pattern : pattern.left(point);
    const int decimals = Decimals(pattern);
    const int requiredDecimals = point < 0 ? 0 : int(pattern.mid(point + 1).count('0'));
    QString digits = QString::number(std::abs(value), 'f', decimals);
    int dropped = 0;
    while (decimals - dropped > requiredDecimals && digits.endsWith('0')) {
        digits.chop(1);
        ++dropped;
    }
    if (digits.endsWith('.'))
        digits.chop(1);
    const qsizetype wholeLength = digits.contains('.') ? digits.indexOf('.') : digits.size();
    digits.prepend(QString(std::max<qsizetype>(0, whole.count('0') - wholeLength), '0'));
    const bool zero =
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c == '0' || c == '.'; });
    return value < 0 && !zero ? '-' + digits : digits;
}

QString Aligned(const QString& text, const QString& pattern) {
    return text.rightJustified(pattern.size(), ' ');
}

// The field's text without the blanks that pad it.
QString Clipped(const QString& text) {
    return QString(text).remove(' ');
}

std::optional<double> ReadInteger(const QString& text) {
    bool ok = false;
    const qlonglong value = Clipped(text).toLongLong(&ok);
    return ok ? std::optional<double>(double(value)) : std::nullopt;
}

// Read at single precision, so that a typed limit equals the limit it names.
std::optional<double> ReadReal(const QString& text) {
    bool ok = false;
    const float value = Clipped(text).toFloat(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// The value as the pattern shows it, so that comparisons ignore float noise.
double AtPrecision(double value, const QString& pattern) {
    const double scale = std::pow(10.0, Decimals(pattern));
    return std::round(value * scale) / scale;
}

QString IntegerText(double value) {
    return QString::number(qlonglong(value));
}

QString SingleText(double value) {
    return QString::number(value, 'g', SinglePrecision);
}

QString Assumed(const QString& reason, const QString& value) {
    return reason + '\r' + "A value of " + value + " is being assumed.";
}

// The steps shared by the integer and the real check.
EntryCheck Validate(std::optional<double> value, double minimum, double maximum,
                    const QString& pattern, QString (*fieldText)(double, const QString&),
                    QString (*messageText)(double)) {
    const auto corrected = [&](const char* reason, double limit) {
        return EntryCheck{false, fieldText(limit, pattern), InvalidNumberTitle,
                          Assumed(reason, messageText(limit))};
    };
    if (!value)
        return corrected(NoValue, minimum);
    if (*value > maximum)
        return corrected(TooLarge, maximum);
    if (*value < minimum)
        return corrected(TooSmall, minimum);
    return {true, fieldText(*value, pattern), {}, {}};
}

QString NumberFieldText(double value, const QString& pattern) {
    return FormatNumberField(qint16(value), pattern);
}

QString RealFieldText(double value, const QString& pattern) {
    return FormatRealField(float(value), pattern);
}

} // namespace

QString FormatNumberField(qint16 value, const QString& pattern) {
    return Aligned(Formatted(value, pattern), pattern);
}

QString FormatRealField(float value, const QString& pattern) {
    return Aligned(Formatted(value, pattern), pattern);
}

EntryCheck ValidateNumberField(const QString& text, qint16 minimum, qint16 maximum,
                               const QString& pattern) {
    return Validate(ReadInteger(text), minimum, maximum, pattern, NumberFieldText, IntegerText);
}

EntryCheck ValidateRealField(const QString& text, float minimum, float maximum,
                             const QString& pattern) {
    return Validate(ReadReal(text), minimum, maximum, pattern, RealFieldText, SingleText);
}

EntryCheck CheckRealText(const QString& text, float defaultValue, const QString& pattern) {
    if (ReadReal(text))
        return {true, text, {}, {}};
    return {false, FormatRealField(defaultValue, pattern), DataEntryTitle,
            Assumed(NotNumeric, SingleText(defaultValue))};
}

QString StepDown(const QString& text, int minimum, int maximum, const QString& pattern) {
    const std::optional<double> value = ReadInteger(text);
    return Formatted(value && *value > minimum ? *value - 1 : maximum, pattern);
}

QString StepUp(const QString& text, int minimum, int maximum, const QString& pattern) {
    const std::optional<double> value = ReadInteger(text);
    return Formatted(value && *value < maximum ? *value + 1 : minimum, pattern);
}

QString StepRealDown(const QString& text, float minimum, float wrap, float step,
                     const QString& pattern) {
    const std::optional<double> value = ReadReal(text);
    if (!value)
        return FormatRealField(wrap, pattern);
    const double next = AtPrecision(*value - step, pattern);
    return FormatRealField(float(next >= AtPrecision(minimum, pattern) ? next : wrap), pattern);
}

QString StepRealUp(const QString& text, float wrap, float maximum, float step,
                   const QString& pattern) {
    const std::optional<double> value = ReadReal(text);
    if (!value)
        return FormatRealField(wrap, pattern);
    const double next = AtPrecision(*value + step, pattern);
    return FormatRealField(float(next <= AtPrecision(maximum, pattern) ? next : wrap), pattern);
}

// Equal values are indistinguishable, so the insertion sort of the percentile
// fields is a plain ascending sort.
QByteArray SortPercentiles(const QList<int>& values) {
    QList<int> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    QByteArray codes;
    for (const int value : sorted)
        codes.append(static_cast<char>(std::clamp(value, 0, 255)));
    return codes;
}
