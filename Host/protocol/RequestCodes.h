#pragma once

#include <QtGlobal>

// The codes of the request queue: what each posted request asks the
// dispatcher to do. A code that no window registered is taken and ignored.
namespace Request {

constexpr qint16 SetButtons = 1;            // panel: read and show the weightings
constexpr qint16 StatusPoll = 2;            // panel: one status poll
constexpr qint16 SetFrequency = 3;          // argument: 1 A, 0 C
constexpr qint16 SetTimeWeighting = 4;      // argument: 1 slow, 0 fast
constexpr qint16 GetInfo = 5;               // panel: read and show the information block
constexpr qint16 ShowDownload = 6;          // download window: initialise and show
constexpr qint16 SetClock = 7;              // clock window: send the clock
constexpr qint16 Calibrate = 9;             // calibration window: system calibration
constexpr qint16 LoggingInit = 10;          // logging window: initialise its controls
constexpr qint16 Unlink = 11;               // panel: the unlink exchange and clearing
constexpr qint16 ShowDetails = 13;          // details window
constexpr qint16 LoggingButton = 14;        // panel: start or stop logging
constexpr qint16 CloseClock = 15;           // clock window: Cancel
constexpr qint16 ClearBuffer = 16;          // download window: clear a buffer
constexpr qint16 CloseLogging = 17;         // logging window: Cancel
constexpr qint16 SetSerialNumber = 18;      // factory window
constexpr qint16 CloseDownload = 19;        // download window: close
constexpr qint16 StoreData = 20;            // download window: download into files
constexpr qint16 ProceedCheck = 22;         // logging window: the checks before logging
constexpr qint16 GetPreReference = 23;      // summary window: the reference before logging
constexpr qint16 CalibrateTemperature = 24; // calibration window
constexpr qint16 GetHistogram = 25;         // histogram window
constexpr qint16 ResetLogger = 26;          // "g"
constexpr qint16 SwitchBuffers = 27;        // "X"
constexpr qint16 DumpAll = 29;              // download window in dump-all mode
constexpr qint16 GetStatus = 30;            // panel: read the mode and show it
constexpr qint16 UnlinkHandler = 31;        // panel: ask, then unlink
constexpr qint16 CalibrateFactory = 33;     // calibration window: factory calibration
constexpr qint16 ViewLastResults = 34;      // panel: the last results
constexpr qint16 ChangeBaudRate = 35;       // argument: the new rate
constexpr qint16 SetPowerDown = 36;         // argument: 1 enable, 0 disable
constexpr qint16 GetRange = 37;             // factory window
constexpr qint16 SetRange = 38;             // argument: the range index

// The host's own: the overload click, kept in order with the exchanges.
constexpr qint16 ClearOverload = 39;
// The whole-memory download, run in the queue so that no status poll comes
// between two blocks.
constexpr qint16 RunDumpAll = 40;
// The parameter editor opened from the control panel's Parameters menu.
constexpr qint16 OpenParameters = 41;

} // namespace Request
