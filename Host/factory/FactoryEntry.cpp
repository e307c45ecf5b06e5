#include "FactoryEntry.h"

#include <limits>

namespace {

std::optional<qint64> WholeNumber(const QString& text, qint64 highest) {
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    const qint64 value = text.toLongLong();
    if (value > highest)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<qint32> ParseSerialNumber(const QString& text) {
    if (const auto value = WholeNumber(text, std::numeric_limits<qint32>::max()))
        return qint32(*value);
    return std::nullopt;
}

std::optional<quint8> ParseFilterConstant(const QString& text) {
    if (const auto value = WholeNumber(text, 255))
        return quint8(*value);
    return std::nullopt;
}
