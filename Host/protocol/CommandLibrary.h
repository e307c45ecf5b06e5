#pragma once

#include "BufferRecord.h"
#include "DateTime.h"
#include "LoggerRecords.h"
#include "LoggerSession.h"

#include <QByteArray>

#include <array>
#include <functional>
#include <optional>

// One routine per logger command. Windows call these (through the request
// queue) and never build frames themselves.

// The weighting codes last read by Get Parameters or set successfully are
// Session().CurrentFrequencyWeighting and CurrentTimeWeighting; -1 when
// unknown (after a failure).

// Logging mode value for a mode that could not be read.
constexpr qint16 ModeNotRead = 20;
constexpr int MemoryBlockLength = 34;

namespace Logger {

bool SendPulse();                                                // "/"
bool Handshake();                                                // "/" answered "k", with events
LoggerDateTime GetDateTime();                                    // "d"
bool SetDateTime(qint16 dayOfWeek, const LoggerDateTime& value); // "D", Monday = 1 … Sunday = 7
bool SetPowerDown(qint16 code);            // "R": 0 power-down enabled, 1 disabled
bool SetFrequency(qint16 code);            // "F": 1 A, else C
bool SetTimeWeighting(qint16 code);        // "W": 1 slow, else fast
bool SetRange(qint16 index);               // "L"
qint16 GetRange();                         // "l"
bool SetSerialNumber(qint32 serialNumber); // "I"
qint16 GetBuffers();                       // "b"
qint16 ClearBuffer();                      // "C": the reply's code, -1 when none came
qint16 GetSpl();                           // "s", tenths of a dB
qint16 GetRawSpl();                        // "z"
// "1": nothing when no reply came (FailedUpdate() gives the values to show then),
// so that a caller can keep what the last poll read.
std::optional<UpdateRecord> GetUpdate();
InformationRecord GetInformation();       // "2"
ParametersRecord GetParameters();         // "3"
qint16 InitialiseDownload(qint16 buffer); // "#": number of blocks, -1 on failure
QByteArray ReadBlock();                   // "$": the next 34-byte block, empty on failure
bool SendPostReference(qint16 tenths);    // "p": -1 = not taken
bool StopLogging();                       // "q"
// "Q" and the 99-byte set-up block; whether the logger answered.
bool StartLogging(const QByteArray& setupBlock);
qint16 GetLoggingMode();                 // "h": 0 to 3, -1 on failure
bool ResetLogger();                      // "g"
bool SwitchBuffers();                    // "X"
bool SetLoggerBaudRate(qint32 baudRate); // "U": true when the data block went out
void ClearOverload();                    // "v"
void Unlink();                           // "n"

// The logger's two time-weighting filter constants, 0 to 255 each; -1 for a
// constant whose byte did not come.
struct FilterConstants {
    qint16 a = -1;
    qint16 b = -1;
};
FilterConstants GetFilters(); // "<"
// ">": true when both constants went out; nothing is read back.
bool SetFilters(quint8 a, quint8 b);

// The logger's verdict on a calibration against a reference tone.
enum class CalibrationVerdict { Passed, Failed, Silent };
// How the verdict is waited for: each ask waits askWait milliseconds, and a
// logger that has not answered after all the asks counts as silent.
struct CalibrationPoll {
    qint32 askWait = 5000;
    int asks = 6;
};
CalibrationVerdict CalibrateSystem(qint16 tenths, CalibrationPoll poll = {});  // "S"
CalibrationVerdict CalibrateFactory(qint16 tenths, CalibrationPoll poll = {}); // "t"
// "K": true when the logger answered (its answer is not examined).
bool CalibrateTemperature(qint16 tenths);

struct LastResults {
    enum Status { Failed, NoData, Available } status = Failed;
    QByteArray record; // the 34-byte results record when available
};
LastResults GetLastResults(); // "o"

// The logger's level histogram: bins 1 to 1500, read one two-byte count at a
// time after "x". Element 0 is never filled.
constexpr int HistogramBins = 1500;
using HistogramCounts = std::array<qint16, HistogramBins + 1>;
// A bin whose count does not come is asked for this many times in all.
constexpr int HistogramBinTries = 3;
// "x": reads every bin into counts (cleared first); reading is told each bin
// as it is asked for. 0 when all came, otherwise the bin that failed every
// try, where the read stopped.
int GetHistogram(HistogramCounts& counts, const std::function<void(int bin)>& reading);

} // namespace Logger

// "B": the parameter record of one buffer; the all-zero record on failure.
BufferRecord ProgramRead(qint16 buffer);
// "B" for callers that must tell a failed read from a record: nothing on failure.
std::optional<BufferRecord> TryProgramRead(qint16 buffer);

// Makes sure the logger is still awake, asking the operator to wake it.
bool WakeLogger();
