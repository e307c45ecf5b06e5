#pragma once

#include <QList>
#include <QString>

// The reference level from a run of "Get SPL" readings in tenths of a dB: the
// mean of the readings that came back (a failed one reads negative), rounded
// to the nearest tenth; -1 when none did.
qint32 ReferenceLevel(const QList<qint16>& readings);

// "94.0dB.": the level in decibels with one decimal.
QString ReferenceLevelText(qint32 tenths);
