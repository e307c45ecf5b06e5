#pragma once

#include <QString>
#include <functional>

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
// What the last OpenLink's OpenComms returned: 0, or a CommsError number.
qint16 LastOpenError();
// "n", the modem hang-up when dialled, then the port closed. Always true.
bool CloseLink();
