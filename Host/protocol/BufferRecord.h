#pragma once

// The 99-byte buffer parameter block: read back with "Program read" for each of
// the logger's buffers, and sent after "Q" to start a logging run.

#include "DateTime.h"

#include <QByteArray>
#include <QString>

// Kinds: 0 none, 1 hourly, 2 daily, 3 weekly, 4 one shot. Weekdays 0 = Sunday.
struct TimerRecord {
    qint16 type = 0;
    LoggerDateTime start, stop;
    qint16 startWeekday = 0, stopWeekday = 0;
    bool operator==(const TimerRecord&) const = default;
};

// Levels in whole dB, references in tenths of a dB (-1 = not taken).
struct BufferRecord {
    LoggerDateTime start, stop;
    TimerRecord master, sub;
    bool aWeighting = false, slow = false;
    qint16 interval = 0, auxiliaryMode = 0, leqLength = 0, leqMode = 0;
    qint16 startTriggerType = 0, startSplLevel = 0, startSeconds = 0, startPercentile = 0,
           startLLevel = 0;
    qint16 stopTriggerType = 0, stopSplLevel = 0, stopSeconds = 0, stopMinutes = 0;
    bool tapeEnabled = false;
    qint16 tapeType = 0, tapePower = 0;
    QByteArray percentileIndices; // 8 bytes, one percentile N each
    QByteArray title;             // 16 bytes as the logger stores them
    qint16 preReference = 0, postReference = 0;
    bool operator==(const BufferRecord&) const = default;
};

constexpr int BufferRecordLength = 99;
constexpr int TimerRecordLength = 15;
constexpr int TitleLength = 16;
constexpr int PercentileCount = 8;

// Every field zero and the texts empty: what a failed read gives.
BufferRecord EmptyBufferRecord();
BufferRecord DecodeBufferRecord(const QByteArray& reply);

// Exactly 99 bytes. Start, stop and post-reference go out as "not yet" (the logger
// fills them in); the trigger section is zero unless an output runs on trigger.
// A field its byte cannot carry is limited to the nearest value it can.
QByteArray EncodeBufferRecord(const BufferRecord& record);

TimerRecord DecodeTimerRecord(const QByteArray& bytes, int position);
QByteArray EncodeTimerRecord(const TimerRecord& timer); // 15 bytes

// The title as one byte per character (Latin-1): a character outside it becomes
// '?', then the text is cut or padded with blanks to exactly 16 bytes.
QByteArray TitleBytes(const QString& title);
QString TitleText(const QByteArray& titleBytes);
