#pragma once

// The fixed-layout replies of the status commands "2" (Get Information, 26 bytes),
// "1" (Get Update, 9 bytes) and "3" (Get Parameters, 2 bytes). The decoders read
// any string; the command routines hand out the Failed… records when no reply came,
// so that a caller always has something to display.

#include "DateTime.h"

#include <QByteArray>
#include <QString>

constexpr int InformationLength = 26;
constexpr int UpdateLength = 9;
constexpr int ParametersLength = 2;

struct InformationRecord {
    qint32 serialNumber;
    qint16 processorVersion;   // high byte major, low byte minor
    qint16 measurementVersion; // as above
    qint16 byte9;              // not used by the host
    qint16 battery;            // tenths of a volt, -1 not available
    qint16 temperature;        // tenths of a degree Celsius, -100 not fitted
    qint16 powerDownState;     // 1 = power-down disabled
    qint16 dayOfWeek;          // 0 = Sunday ... 6 = Saturday
    LoggerDateTime clock;
    qint16 loggingMode; // 0 to 3
    qint32 freeMemory;  // bytes
    bool operator==(const InformationRecord&) const = default;
};

struct UpdateRecord {
    qint16 level; // tenths of a dB, -1 not available
    bool overload;
    LoggerDateTime clock;
    bool operator==(const UpdateRecord&) const = default;
};

// Weighting codes: frequency 1 = A, else C; time 1 = slow, else fast.
struct ParametersRecord {
    qint16 frequencyCode;
    qint16 timeCode;
    bool operator==(const ParametersRecord&) const = default;
};

InformationRecord DecodeInformation(const QByteArray& reply);
InformationRecord FailedInformation();
UpdateRecord DecodeUpdate(const QByteArray& reply);
UpdateRecord FailedUpdate();
ParametersRecord DecodeParameters(const QByteArray& reply);
ParametersRecord FailedParameters();

// "00-000-000"; empty for a serial number that was not read (negative).
QString SerialNumberText(qint32 serialNumber);
// major "." minor; empty for a version that was not read (negative).
QString VersionText(qint16 version);
