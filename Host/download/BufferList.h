#pragma once

// The logger's buffers as a download offers them: how many there are and the
// parameter record of each, read when a logger is linked.

#include "BufferRecord.h"

#include <QList>
#include <QVector>

#include <functional>

// The logger holds at most this many buffers.
constexpr qint16 MaxBuffers = 8;

struct BufferList {
    // From "b": -1 when the logger did not answer (asked twice).
    qint16 count = -1;
    // "Program read" of buffers 0 to count - 1; empty unless count is 1 to 8.
    QVector<BufferRecord> records = {};
    // Buffers (0-based) whose "Program read" got no reply: their records are
    // the all-zero record, not the logger's.
    QList<qint16> unread = {};
};

struct BufferListReading {
    // How many times an unanswered "Program read" is sent in all.
    int recordAttempts = 1;
    // Asked before each exchange; true ends the reading where it is.
    std::function<bool()> stopRequested = {};
};

BufferList ReadBufferList(const BufferListReading& reading = {});
