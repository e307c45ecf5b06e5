#include "ShortDateParser.h"

#include "DateSerial.h"
#include "FieldText.h"

#include <cstdlib>

namespace {

// The years the logger's clock can hold.
constexpr int kFirstLoggerYear = 1996;
constexpr int kLastLoggerYear = 2250;

} // namespace

ShortDateParser::ShortDateParser(const QLocale& locale, int referenceYear)
    : m_locale(locale), m_referenceYear(referenceYear) {
    m_format = locale.dateFormat(QLocale::ShortFormat);
    for (int month = 1; month <= 12; ++month)
        m_monthNames << locale.monthName(month, QLocale::LongFormat);
    for (int month = 1; month <= 12; ++month)
        m_monthNames << locale.monthName(month, QLocale::ShortFormat);
    for (int day = 1; day <= 7; ++day)
        m_dayNames << locale.dayName(day, QLocale::LongFormat);
    for (int day = 1; day <= 7; ++day)
        m_dayNames << locale.dayName(day, QLocale::ShortFormat);
    compile(m_format);
    const QList<uint> zero = locale.zeroDigit().toUcs4();
    if (zero.size() == 1 && zero.first() != U'0')
        m_zeroDigit = char32_t(zero.first());
}

QByteArray ShortDateParser::westernDigits(QByteArrayView text) const {
    QList<uint> characters = QString::fromUtf8(text).toUcs4();
    for (uint& c : characters) {
        if (c >= m_zeroDigit && c <= m_zeroDigit + 9)
            c = U'0' + (c - m_zeroDigit);
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()),
                             characters.size())
        .toUtf8();
}

int ShortDateParser::expandTwoDigitYear(int digits, int referenceYear) const {
    int nearest = 0;
    for (int year = 1900 + digits; year <= kLastLoggerYear; year += 100) {
        // On a tie the earlier year wins: data is older than its reading.
        if (year >= kFirstLoggerYear &&
            (nearest == 0 || std::abs(year - referenceYear) < std::abs(nearest - referenceYear)))
            nearest = year;
    }
    return nearest;
}

void ShortDateParser::compile(const QString& format) {
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        if (c == u'\'') {
            const qsizetype close = format.indexOf(u'\'', i + 1);
            const qsizetype end = close < 0 ? format.size() : close;
            const QString text =
                end == i + 1 ? QStringLiteral("'") : format.mid(i + 1, end - i - 1);
            m_tokens.append({Kind::Literal, 0, text.toUtf8()});
            i = end + 1;
            continue;
        }
        if (!c.isLetter()) {
            if (!m_tokens.isEmpty() && m_tokens.last().kind == Kind::Literal)
                m_tokens.last().literal += QString(c).toUtf8();
            else
                m_tokens.append({Kind::Literal, 0, QString(c).toUtf8()});
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        const int width = int(run);
        if (c == u'd' && width <= 2)
            m_tokens.append({Kind::Day, width, {}});
        else if (c == u'd' && width <= 4)
            m_tokens.append({Kind::DayName, width, {}});
        else if (c == u'M' && width <= 2)
            m_tokens.append({Kind::Month, width, {}});
        else if (c == u'M' && width <= 4)
            m_tokens.append({Kind::MonthName, width, {}});
        else if (c == u'y' && (width == 2 || width == 4))
            m_tokens.append({Kind::Year, width, {}});
        else
            m_useLocale = true;
        if (c == u'y')
            m_twoDigitYear = width == 2;
        i += run;
    }
}

std::optional<double> ShortDateParser::parse(QByteArrayView text) {
    text = Trimmed(text);
    if (m_haveLast && text == QByteArrayView(m_lastText))
        return m_lastResult;
    m_lastText = text.toByteArray();
    const QDate date = read(text, m_referenceYear);
    m_haveLast = true;
    m_lastResult.reset();
    if (date.isValid())
        m_lastResult = DateSerial::fromDate(date);
    return m_lastResult;
}

std::optional<double> ShortDateParser::parseACenturyLater(QByteArrayView text) const {
    if (!m_twoDigitYear)
        return std::nullopt;
    text = Trimmed(text);
    const QDate now = read(text, m_referenceYear);
    const QDate later = read(text, m_referenceYear + 100);
    if (!now.isValid() || !later.isValid() || later.year() <= now.year())
        return std::nullopt;
    return DateSerial::fromDate(later);
}

void ShortDateParser::moveOnACentury() {
    m_referenceYear += 100;
    m_haveLast = false;
}

QDate ShortDateParser::read(QByteArrayView text, int referenceYear) const {
    // Dates written in the locale's own digits are read as Western digits.
    const QByteArray western = m_zeroDigit ? westernDigits(text) : QByteArray();
    const QByteArrayView decoded = m_zeroDigit ? QByteArrayView(western) : text;
    const QDate date =
        m_useLocale ? decodeWithLocale(decoded, referenceYear) : decode(decoded, referenceYear);
    return date.isValid() ? date : decodeIso(decoded);
}

QDate ShortDateParser::decode(QByteArrayView text, int referenceYear) const {
    int day = 0;
    int month = 0;
    int year = 0;
    bool haveDay = false, haveMonth = false, haveYear = false;
    qsizetype pos = 0;
    for (const Token& token : m_tokens) {
        switch (token.kind) {
        case Kind::Literal:
            if (!text.sliced(pos).startsWith(token.literal))
                return {};
            pos += token.literal.size();
            break;
        case Kind::Day: {
            const auto value = ReadDigits(text, pos, 1, 2);
            if (!value)
                return {};
            day = *value;
            haveDay = true;
            break;
        }
        case Kind::Month: {
            const auto value = ReadDigits(text, pos, 1, 2);
            if (!value)
                return {};
            month = *value;
            haveMonth = true;
            break;
        }
        case Kind::MonthName: {
            const auto index = matchName(m_monthNames, text, pos);
            if (!index)
                return {};
            month = *index % 12 + 1;
            haveMonth = true;
            break;
        }
        case Kind::DayName:
            if (!matchName(m_dayNames, text, pos))
                return {};
            break;
        case Kind::Year: {
            // Two-digit patterns also take a full year, four-digit ones only that.
            const qsizetype start = pos;
            const auto value = ReadDigits(text, pos, token.width, 4);
            if (!value || (pos - start != 2 && pos - start != 4))
                return {};
            year = pos - start == 2 ? expandTwoDigitYear(*value, referenceYear) : *value;
            haveYear = true;
            break;
        }
        }
    }
    if (pos != text.size() || !haveDay || !haveMonth || !haveYear)
        return {};
    return QDate(year, month, day);
}

QDate ShortDateParser::decodeWithLocale(QByteArrayView text, int referenceYear) const {
    const QDate date = m_locale.toDate(QString::fromUtf8(text), m_format);
    // The platform puts two-digit years in the 1900s.
    if (!date.isValid() || !m_twoDigitYear)
        return date;
    return QDate(expandTwoDigitYear(date.year() % 100, referenceYear), date.month(), date.day());
}

QDate ShortDateParser::decodeIso(QByteArrayView text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return {};
    qsizetype pos = 0;
    const auto year = ReadDigits(text, pos, 4, 4);
    pos = 5;
    const auto month = ReadDigits(text, pos, 2, 2);
    pos = 8;
    const auto day = ReadDigits(text, pos, 2, 2);
    if (!year || !month || !day)
        return {};
    return QDate(*year, *month, *day);
}

std::optional<int> ShortDateParser::matchName(const QStringList& names, QByteArrayView text,
                                              qsizetype& pos) {
    const QString rest = QString::fromUtf8(text.sliced(pos));
    // Long names come first in the list, so "June" wins over "Jun".
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        if (!name.isEmpty() && rest.startsWith(name, Qt::CaseInsensitive)) {
            pos += name.toUtf8().size();
            return int(i);
        }
    }
    return std::nullopt;
}
