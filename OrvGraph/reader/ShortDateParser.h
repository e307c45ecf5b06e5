#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
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
//
// A two-digit year cannot name one of the logger's 255 years (1996 to 2250) on
// its own. It is read as the year of that span ending in those digits nearest
// the reference year. The reference stays where it was set, so that one damaged
// year cannot re-date the dates after it; only the reader moves it on, where
// its rows run over the end of a century (12/31/99 to 1/1/00).
class ShortDateParser {
public:
    // referenceYear: the year two-digit dates are taken to lie near (the year a
    // file was written, or the date a dialog showed).
    ShortDateParser(const QLocale& locale, int referenceYear);

    // The day serial (DateSerial.h) of the text, or nothing when it is not a date.
    std::optional<double> parse(QByteArrayView text);
    // The text's date with its two-digit year a century later than parse() reads
    // it; nothing when the text is no date, has a full year, or has no later year
    // in the logger's span.
    std::optional<double> parseACenturyLater(QByteArrayView text) const;
    // From now on two-digit years are read a century later.
    void moveOnACentury();

private:
    int expandTwoDigitYear(int digits, int referenceYear) const;
    QDate read(QByteArrayView text, int referenceYear) const;
    // The text with the locale's native digits turned into 0 to 9.
    QByteArray westernDigits(QByteArrayView text) const;

    enum class Kind { Day, Month, MonthName, DayName, Year, Literal };
    struct Token {
        Kind kind;
        int width = 0;      // number of pattern letters
        QByteArray literal; // Kind::Literal only
    };

    void compile(const QString& format);
    QDate decode(QByteArrayView text, int referenceYear) const;
    QDate decodeWithLocale(QByteArrayView text, int referenceYear) const;
    static QDate decodeIso(QByteArrayView text);
    // Matches one of the names at pos (case-insensitive); its index or nothing.
    static std::optional<int> matchName(const QStringList& names, QByteArrayView text,
                                        qsizetype& pos);

    QLocale m_locale;
    QString m_format;
    QList<Token> m_tokens;
    bool m_useLocale = false;    // a format this parser does not decode itself
    bool m_twoDigitYear = false; // the format's year has two digits
    int m_referenceYear;
    char32_t m_zeroDigit = 0; // the locale's zero when it is not '0'

    QStringList m_monthNames; // long then short, index % 12 is the month - 1
    QStringList m_dayNames;

    QByteArray m_lastText;
    std::optional<double> m_lastResult;
    bool m_haveLast = false;
};
