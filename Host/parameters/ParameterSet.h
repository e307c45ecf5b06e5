#pragma once

// The measurement parameters that the operator edits, keeps as presets and
// sends to the logger when logging starts.

#include "BufferRecord.h"

#include <QByteArray>
#include <QString>

// L1, L5, L10, L25, L50, L75, L90, L99: one byte per percentile N.
QByteArray DefaultPercentiles();

// Field names are the settings-store keys. Levels in whole dB.
struct ParameterSet {
    bool Frequency = true;     // A weighting; false = C
    bool TimeWeight = false;   // slow; false = fast
    qint16 Interval = 15;      // statistical interval, minutes
    qint16 Auxiliary = 0;      // auxiliary power: 0 no, 1 always on, 2 on trigger
    qint16 LeqLength = 1;      // short-term Leq, seconds
    qint16 LeqOption = 0;      // short-term Leq: 0 no, 1 yes, 2 on trigger
    qint16 iTriggerStart = 0;  // 1/2 SPL over/under, 3/4 LN over/under, 5 remote switch
    qint16 SplStartLevel = 70; // SPL start trigger
    qint16 SplStartTime = 1;   // seconds the SPL start condition must hold
    qint16 LTrigger = 50;      // N of the LN start trigger
    qint16 LLTrigger = 70;     // level of the LN start trigger
    qint16 iTriggerStop = 0;   // 1/2 SPL over/under, 6 after TimeStop minutes
    qint16 SplStopLevel = 60;
    qint16 SplStopTime = 1;
    qint16 TimeStop = 15; // minutes
    bool TapeUse = false;
    qint16 TapeType = 0;                               // 0 analogue, 1 DAT
    qint16 TapePower = 0;                              // 0 +3 V, 1 +4.5 V, 2 +6 V, 3 +9 V dc
    QByteArray LIndices = DefaultPercentiles();        // ascending
    QString Title = QStringLiteral("Default Setting"); // never sent to the logger
    bool operator==(const ParameterSet&) const = default;
};

ParameterSet DefaultParameterSet();

// Puts the set's fields into the buffer parameter record that starts a
// logging run; its dates, timers, title and references stay as they are.
void PlaceParameterSet(const ParameterSet& set, BufferRecord& record);

// The set's fields as the logger's bytes, each piece ready to be placed.
// The trigger section is always 8 bytes: eight zeros when no output runs on
// trigger, and a code that needs no values is followed by three zeros, so the
// block never shifts.
struct ParameterFields {
    QByteArray flags;       // 1 byte: 32 A weighting, 16 slow, 8 tape, 1 DAT
    QByteArray interval;    // 1 byte, minutes
    QByteArray leq;         // 1 byte: option × 64 + length
    QByteArray auxiliary;   // 1 byte
    QByteArray percentiles; // 8 bytes
    QByteArray triggers;    // 8 bytes: start code and 3 bytes, stop code and 3 bytes
    QByteArray tapePower;   // 1 byte
};

ParameterFields EncodeParameterFields(const ParameterSet& set);
