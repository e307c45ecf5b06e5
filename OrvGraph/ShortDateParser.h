#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QLocale>
#include <QStringList>

#include <optional>

// Reads dates written in a locale's short date format ("dd/MM/yyyy",
// "M/d/yy", "dd.MM.yy", "d MMM yyyy", ...), as the host writes them, and ISO
// dates ("2003-12-31"), which no regional format can be mistaken for. The format
// is compiled once; numeric fields are decoded directly, because the reader asks
// "is this a date?" of most fields of a file. The last text and its result are
// kept: consecutive rows nearly always share their date.
class ShortDateParser {
public:
    explicit ShortDateParser(const QLocale& locale);

    // The day serial (DateSerial.h) of the text, or nothing when it is not a date.
    std::optional<double> parse(QByteArrayView text) const;

private:
    // Two-digit years are taken as 1980 to 2079, the span the logger's clock
    // can hold (it starts in 1996).
    static int expandTwoDigitYear(int year);
    // The text with the locale's native digits turned into 0 to 9.
    QByteArray westernDigits(QByteArrayView text) const;

    enum class Kind { Day, Month, MonthName, DayName, Year, Literal };
    struct Token {
        Kind kind;
        int width = 0;      // number of pattern letters
        QByteArray literal; // Kind::Literal only
    };

    void compile(const QString& format);
    std::optional<double> decode(QByteArrayView text) const;
    std::optional<double> decodeWithLocale(QByteArrayView text) const;
    static std::optional<double> decodeIso(QByteArrayView text);
    // Matches one of the names at pos (case-insensitive); its index or nothing.
    static std::optional<int> matchName(const QStringList& names, QByteArrayView text,
                                        qsizetype& pos);

    QLocale m_locale;
    QString m_format;
    QList<Token> m_tokens;
    bool m_useLocale = false; // a format this parser does not decode itself
    char32_t m_zeroDigit = 0; // the locale's zero when it is not '0'

    QStringList m_monthNames; // long then short, index % 12 is the month - 1
    QStringList m_dayNames;

    mutable QByteArray m_lastText;
    mutable std::optional<double> m_lastResult;
    mutable bool m_haveLast = false;
};
