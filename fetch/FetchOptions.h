#pragma once

// The command line of qn7x-fetch and the exit codes a script acts on.

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace ExitCode {
constexpr int Complete = 0;   // everything asked for was done
constexpr int NoComms = 1;    // the Comlane plugin could not be loaded
constexpr int Usage = 2;      // the command line, or a buffer the logger does not hold
constexpr int NoLogger = 3;   // no handshake, or the modem did not connect
constexpr int PortError = 4;  // the device does not exist or would not open
constexpr int LinkLost = 5;   // the logger stopped answering, or a buffer's parameters did not come
constexpr int FileError = 6;  // a data file, the manifest or standard output could not be written
constexpr int Incomplete = 7; // a buffer gave fewer blocks than the logger announced
constexpr int Stopped = 8;    // SIGINT, SIGTERM or SIGHUP; the ".part" files hold what came
constexpr int NotCleared = 9; // downloaded, but a buffer could not safely be cleared
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
    QList<qint16> buffers = {}; // 1 to 8, as the window numbers them
    bool everyBuffer = false;   // --buffer all
    bool wholeMemory = false;
    QString base;
    QLocale locale = QLocale::system();
    bool json = false;
    bool clearAfter = false;
    bool help = false;

    bool downloads() const { return wholeMemory || everyBuffer || !buffers.isEmpty(); }
};

struct ParsedOptions {
    FetchOptions options = {};
    QString error = {}; // empty when the line was understood
};

// arguments without the program name.
ParsedOptions ParseFetchOptions(const QStringList& arguments);

extern const char* const FetchUsage;
