#include "Convert.h"

namespace {

bool IsByte(int value) {
    return value >= 0 && value <= 255;
}

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (const int value : values)
        bytes.append(static_cast<char>(value));
    return bytes;
}

void FillDate(LoggerDateTime& value, const QByteArray& bytes, qint64 position) {
    value.year = static_cast<qint16>(ReadByte(bytes, position) + BaseYear);
    value.month = static_cast<qint16>(ReadByte(bytes, position + 1));
    value.day = static_cast<qint16>(ReadByte(bytes, position + 2));
}

void FillTime(LoggerDateTime& value, const QByteArray& bytes, qint64 position) {
    value.hour = static_cast<qint16>(ReadByte(bytes, position));
    value.minute = static_cast<qint16>(ReadByte(bytes, position + 1));
    value.second = static_cast<qint16>(ReadByte(bytes, position + 2));
}

} // namespace

int ReadByte(const QByteArray& bytes, qint64 position) {
    if (position < 1 || position > bytes.size())
        return 0;
    return static_cast<quint8>(bytes[position - 1]);
}

qint16 ReadWord(const QByteArray& bytes, int position) {
    const int high = ReadByte(bytes, position);
    if (high >= 128)
        return -1;
    return static_cast<qint16>(high * 256 + ReadByte(bytes, qint64(position) + 1));
}

qint16 ReadSignedWord(const QByteArray& bytes, int position) {
    const int word = ReadByte(bytes, position) * 256 + ReadByte(bytes, qint64(position) + 1);
    return static_cast<qint16>(word);
}

qint32 ReadLong(const QByteArray& bytes, int position) {
    const int first = ReadByte(bytes, position);
    if (first >= 128)
        return 0;
    qint32 value = first;
    for (int offset = 1; offset < 4; ++offset)
        value = value * 256 + ReadByte(bytes, qint64(position) + offset);
    return value;
}

QByteArray ReadBytes(const QByteArray& bytes, int position, int count) {
    QByteArray result;
    for (int offset = 0; offset < count; ++offset)
        result.append(static_cast<char>(ReadByte(bytes, qint64(position) + offset)));
    return result;
}

LoggerDateTime ReadDate(const QByteArray& bytes, int position) {
    LoggerDateTime value;
    FillDate(value, bytes, position);
    return value;
}

LoggerDateTime ReadTime(const QByteArray& bytes, int position) {
    LoggerDateTime value;
    FillTime(value, bytes, position);
    return value;
}

LoggerDateTime ReadDateTime(const QByteArray& bytes, int position) {
    LoggerDateTime value;
    FillDate(value, bytes, position);
    FillTime(value, bytes, qint64(position) + 3);
    return value;
}

qint16 TenthsToWhole(qint16 tenths) {
    int whole = tenths / 10;
    const int rest = tenths % 10;
    const int magnitude = rest < 0 ? -rest : rest;
    if (magnitude > 5 || (magnitude == 5 && whole % 2 != 0))
        whole += tenths < 0 ? -1 : 1;
    return static_cast<qint16>(whole);
}

std::optional<QByteArray> WordToBytes(int value) {
    if (value < 0 || value > 32767)
        return std::nullopt;
    return Bytes({value / 256, value % 256});
}

std::optional<QByteArray> LongToBytes(qint64 value) {
    if (value < 0 || value > 2147483647)
        return std::nullopt;
    return Bytes(
        {int(value >> 24), int(value >> 16 & 255), int(value >> 8 & 255), int(value & 255)});
}

QByteArray SignedWordToBytes(qint16 value) {
    const quint16 word = static_cast<quint16>(value);
    return Bytes({word >> 8, word & 255});
}

std::optional<QByteArray> DateToBytes(int year, int month, int day) {
    const int offset = year - BaseYear;
    if (!IsByte(offset) || !IsByte(month) || !IsByte(day))
        return std::nullopt;
    return Bytes({offset, month, day});
}

std::optional<QByteArray> TimeToBytes(int hour, int minute, int second) {
    if (!IsByte(hour) || !IsByte(minute) || !IsByte(second))
        return std::nullopt;
    return Bytes({hour, minute, second});
}

std::optional<QByteArray> DateTimeToBytes(const LoggerDateTime& value) {
    const auto date = DateToBytes(value.year, value.month, value.day);
    const auto time = TimeToBytes(value.hour, value.minute, value.second);
    if (!date || !time)
        return std::nullopt;
    return *date + *time;
}
