#pragma once

// The pieces every JSON text of qn7x-fetch is made of, so that the summary,
// the buffer list and the manifest say each thing the same way: a value that
// is not known is null.

#include "BufferRecord.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

QJsonValue OrNull(bool known, const QJsonValue& value);
QJsonValue TextOrNull(const QString& text);
// "title" (trimmed), "start" and "stop" (ISO 8601 in logger time, null unset).
QJsonObject BufferJson(const BufferRecord& record);
