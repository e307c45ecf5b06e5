#pragma once

// The logger's 34-byte memory blocks, decoded into the records the data files
// hold. Pure functions: every byte value is accepted, a missing level reads
// -0.1, and an unknown type or code becomes an error line for the event log.

#include "DateTime.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <variant>

enum class BlockType : quint8 {
    Statistical = 1,
    ShortTermLeq = 2,
    Event = 3,
    Error = 4,
    Terminator = 5,
};

constexpr int LeqValuesPerBlock = 12;

// Levels in dB (tenths divided by ten), in the order the data file writes them.
struct StatisticalRecord {
    LoggerDateTime stamp;
    double leq = 0, lmax = 0;
    std::array<double, 8> percentiles{}; // in the order of the buffer's indices
    double lmin = 0, temperature = 0, battery = 0;
    bool overload = false;
    bool operator==(const StatisticalRecord&) const = default;
};

struct LeqValue {
    LoggerDateTime time;
    double level = 0;
    bool overload = false;
    bool operator==(const LeqValue&) const = default;
};

// endedEarly: a 0 slot stopped the record before its twelfth value; the file
// marks that with an empty line.
struct LeqRecord {
    QList<LeqValue> values;
    bool endedEarly = false;
    bool operator==(const LeqRecord&) const = default;
};

// An event, an error or warning, or a block of a type the host does not know.
struct EventRecord {
    LoggerDateTime stamp;
    QString text;
    bool operator==(const EventRecord&) const = default;
};

using DecodedBlock = std::variant<StatisticalRecord, LeqRecord, EventRecord>;

int BlockTypeCode(const QByteArray& block);
bool IsTerminator(const QByteArray& block);

QString EventText(int code);
QString ErrorText(int code);

// leqSpacingSeconds: in a one-buffer download the buffer's short-term Leq length,
// so that the twelve values are spread back from the block's stamp (the time of
// the last one); 0 gives every value the block's own stamp, as a whole-memory
// download does. A stamp that is not a real date-time is never moved.
DecodedBlock DecodeBlock(const QByteArray& block, int leqSpacingSeconds);
