#pragma once

// The text of a data file's fields: the blanks around them and the runs of
// digits that make up their dates and times.

#include <QByteArrayView>

#include <optional>

inline QByteArrayView Trimmed(QByteArrayView text) {
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads minDigits to maxDigits digits at pos and moves pos past them; nothing
// when fewer than minDigits stand there.
inline std::optional<int> ReadDigits(QByteArrayView text, qsizetype& pos, int minDigits,
                                     int maxDigits) {
    int value = 0;
    int digits = 0;
    while (pos < text.size() && digits < maxDigits && IsDigit(text[pos])) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    if (digits < minDigits)
        return std::nullopt;
    return value;
}
