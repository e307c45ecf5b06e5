#include "FetchJson.h"

QJsonValue OrNull(bool known, const QJsonValue& value) {
    return known ? value : QJsonValue();
}

QJsonValue TextOrNull(const QString& text) {
    return OrNull(!text.isEmpty(), text);
}

QJsonObject BufferJson(const BufferRecord& record) {
    return {{"title", TitleText(record.title).trimmed()},
            {"start", TextOrNull(IsoDateTimeText(record.start))},
            {"stop", TextOrNull(IsoDateTimeText(record.stop))}};
}
