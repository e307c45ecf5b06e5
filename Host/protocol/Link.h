#pragma once

#include "LoggerSession.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QObject;

// Opening and closing the link to the logger.

// A logger that does not answer the first handshake is tried this many more
// times, this far apart.
constexpr int HandshakeRetries = 10;
constexpr int HandshakeRetrySpacingMs = 1000;

// What opening a link needs from the windows (installed by the control panel).
struct LinkWindows {
    std::function<void(qint16 port)> disablePortEntry = {}; // after an invalid port
    // A port that exists but did not open: its device and CommsError number.
    std::function<void(const QString& device, qint16 error)> portNotOpened = {};
    std::function<qint16()> runModemWindow = {}; // 1 connected, 2 cancelled
    std::function<bool()> runLinkWindow = {};    // the handshake with retries
};
void SetLinkWindows(LinkWindows windows);

// Opens the port (dials when method is 2) and links with the handshake.
bool OpenLink(qint16 port, qint32 baudRate, qint16 method);
// What the last OpenLink's OpenComms returned, 0 or a CommsError number, is
// Session().lastOpenError.
// "n", the modem hang-up when dialled, then the port closed. Always true.
bool CloseLink();

// The link's own controls, for the windows and programs that drive it; the
// exchanges themselves are the command library's.
void SetCommsTimeOut(qint32 milliseconds);
qint32 GetCommsTimeOut();
// Ends the wait of a receive in progress (a dial, a handshake, a reply).
void InterruptReceive();
// Closes, re-clocks and reopens the host's port; false when it did not reopen.
bool ChangeBaudRate(qint32 baudRate);
// The device the port number opens; empty without the Comlane plugin.
QString PortDevice(qint16 port);
// Closes the port without a word to the logger.
void ClosePort();
// Dials through the Hayes modem on the open port: ConnectToModem's result,
// 0 when connected (1 without the Comlane plugin). The modem's dialogue is
// appended to feedback's "Text" property.
qint16 DialModem(const QByteArray& initialisation, const QByteArray& number, QObject* feedback);
void HangUpModem();
