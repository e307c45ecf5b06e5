#pragma once

// The command line of qn7x-fetch and the exit codes a script acts on.

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

// Codes 3, 5, 7, 11 may clear up on a later try (the logger, line or modem was
// busy or did not answer); 1, 2, 4 and 10 need a change of set-up first.
namespace ExitCode {
constexpr int Complete = 0;   // everything asked for was done
constexpr int NoComms = 1;    // the Comlane plugin could not be loaded
constexpr int Usage = 2;      // the command line, or a buffer the logger does not hold
constexpr int NoLogger = 3;   // no handshake, or the modem did not connect
constexpr int PortError = 4;  // no such device, no permission, or not a serial port
constexpr int LinkLost = 5;   // the logger stopped answering, or a buffer's parameters did not come
constexpr int FileError = 6;  // a data file, the manifest or standard output could not be written
constexpr int Incomplete = 7; // a buffer gave fewer blocks than the logger announced
constexpr int Stopped = 8;    // SIGINT, SIGTERM, SIGHUP or --max-time; ".part" files hold what came
constexpr int NotCleared = 9; // downloaded, but a buffer could not safely be cleared
constexpr int WrongLogger = 10; // another logger than --expect-serial answered
constexpr int PortBusy = 11;    // another program holds the port
} // namespace ExitCode

struct FetchOptions {
    // The port: a device path, or a number through the "Comms"/"Device"+n
    // settings; neither given takes the host's port setting.
    QString device;
    qint16 port = 0;
    qint32 baud = 0; // 0: the host's baud rate setting
    QString modemNumber;
    QString modemInit; // empty: the host's setting
    bool list = false;
    bool status = false;
    QList<qint16> buffers = {}; // 1 to 8, as the window numbers them
    bool everyBuffer = false;   // --buffer all
    bool wholeMemory = false;
    QString base; // may hold fields (BaseName.h)
    bool overwrite = false;
    QLocale locale = QLocale::system();
    bool dateFormatGiven = false;
    qint32 expectedSerial = -1; // -1: any logger
    int retries = 0;
    int retryDelaySeconds = 60;
    int maxTimeSeconds = 0; // 0: no limit
    bool json = false;
    bool quiet = false;
    bool clearAfter = false;
    bool help = false;
    bool version = false;

    bool downloads() const { return wholeMemory || everyBuffer || !buffers.isEmpty(); }
    // Each buffer's files get their own base: several buffers asked for.
    bool severalBuffers() const { return everyBuffer || buffers.size() > 1; }
};

struct ParsedOptions {
    FetchOptions options = {};
    QString error = {}; // empty when the line was understood
};

// arguments without the program name.
ParsedOptions ParseFetchOptions(const QStringList& arguments);

extern const char* const FetchUsage;
