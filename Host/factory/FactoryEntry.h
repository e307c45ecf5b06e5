#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// What the factory window accepts as typed numbers: plain decimal digits, with
// no sign, point or exponent, within what the logger's field can hold.

// 0 to 2147483647, the range of the logger's 4-byte serial number.
std::optional<qint32> ParseSerialNumber(const QString& text);
// 0 to 255: a filter constant travels as one byte.
std::optional<quint8> ParseFilterConstant(const QString& text);
