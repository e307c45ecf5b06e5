#pragma once

// The logger's byte strings: big-endian words and longs, and date-times as six
// bytes with the year counted from BaseYear. Positions are 1-based; a byte
// beyond either end of the string reads as 0, so a short reply never reads out
// of bounds. The encoders refuse a value the bytes cannot carry rather than
// sending a wrapped one.

#include "DateTime.h"

#include <QByteArray>

#include <optional>

// 0 to 255.
int ReadByte(const QByteArray& bytes, qint64 position);
// 0 to 32767; -1 (not available) when the high byte is 128 or more.
qint16 ReadWord(const QByteArray& bytes, int position);
qint16 ReadSignedWord(const QByteArray& bytes, int position);
// 0 when the first byte is 128 or more: the value does not fit.
qint32 ReadLong(const QByteArray& bytes, int position);
// Exactly count bytes from the position, zero where the string has none.
QByteArray ReadBytes(const QByteArray& bytes, int position, int count);
LoggerDateTime ReadDate(const QByteArray& bytes, int position);
LoggerDateTime ReadTime(const QByteArray& bytes, int position);
LoggerDateTime ReadDateTime(const QByteArray& bytes, int position);

// Levels travel in tenths of a dB; whole dB round halves to the even number.
qint16 TenthsToWhole(qint16 tenths);

std::optional<QByteArray> WordToBytes(int value);
std::optional<QByteArray> LongToBytes(qint64 value);
QByteArray SignedWordToBytes(qint16 value);
std::optional<QByteArray> DateToBytes(int year, int month, int day);
std::optional<QByteArray> TimeToBytes(int hour, int minute, int second);
std::optional<QByteArray> DateTimeToBytes(const LoggerDateTime& value);
