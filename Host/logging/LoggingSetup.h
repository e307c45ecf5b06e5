#pragma once

// What the host sends after "Q" to start a logging run: the timers, the
// measurement parameters, the title and the reference level.

#include "BufferRecord.h"
#include "DateTime.h"
#include "ParameterSet.h"
#include "Timers.h"

#include <QByteArray>
#include <QString>

// A reference level that was not taken.
constexpr quint16 NoReference = 65535;

struct LoggingSetup {
    // The logger fills both in; they always go out unset.
    LoggerDateTime start = UnsetDateTime(), stop = UnsetDateTime();
    TimerSpec master = NoTimer(), sub = NoTimer();
    ParameterSet parameters = DefaultParameterSet();
    QString title = {};                  // as typed; sent as 16 single-byte characters
    quint16 preReference = NoReference;  // tenths of a dB
    quint16 postReference = NoReference; // comes later with "p"
};

// A reference reading in tenths of a dB as the logger's word: a failed reading
// (below 0), or one no word can carry, is "not taken".
quint16 ReferenceLevelWord(int tenthsOfDb);

// The set-up as the buffer parameter record it becomes, for describing it as a
// recorded buffer is described.
BufferRecord SetupRecord(const LoggingSetup& setup);
// Exactly 99 bytes.
QByteArray SetupBlock(const LoggingSetup& setup);
