#pragma once

#include <QtGlobal>
#include <functional>

// Opening and closing the link to the logger.

// What opening a link needs from the windows (installed by the control panel).
struct LinkWindows {
    std::function<void(qint16 port)> disablePortEntry; // after an invalid port
    std::function<qint16()> runModemWindow;            // 1 connected, 2 cancelled
    std::function<bool()> runLinkWindow;               // the handshake with retries
};
void SetLinkWindows(LinkWindows windows);

// Opens the port (dials when method is 2) and links with the handshake.
bool OpenLink(qint16 port, qint32 baudRate, qint16 method);
// "n", the modem hang-up when dialled, then the port closed. Always true.
bool CloseLink();
