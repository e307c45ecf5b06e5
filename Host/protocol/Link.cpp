#include "Link.h"

#include "CommandLibrary.h"
#include "Framing.h"
#include "Notices.h"

namespace {

constexpr qint32 LinkTimeOut = 2000;
constexpr qint16 ModemConnected = 1;
constexpr qint16 ModemCancelled = 2;

LinkWindows linkWindows;
qint16 lastOpenError = 0;

} // namespace

void SetLinkWindows(LinkWindows windows) {
    linkWindows = std::move(windows);
}

bool OpenLink(qint16 port, qint32 baudRate, qint16 method) {
    lastOpenError = 0;
    OrvCommsInterface* link = CommsLink();
    if (!link) {
        PortOpenFlag = false;
        ReportComlaneMissing();
        return false;
    }
    link->setCommPort(port);
    link->setBaudRate(baudRate);
    link->setCommMethod(method);
    link->setReceiveInterrupt(false); // a Cancel pressed after an earlier wait is stale
    PortOpenFlag = true;
    const qint16 opened = link->OpenComms();
    lastOpenError = opened;
    if (opened == CommsError::InvalidPort) {
        PortOpenFlag = false;
        if (linkWindows.disablePortEntry)
            linkWindows.disablePortEntry(port);
        return false;
    }
    if (opened != 0) {
        // The device is there but would not open: the panel says why.
        if (linkWindows.portNotOpened)
            linkWindows.portNotOpened(link->PortDevice(port), opened);
        return false;
    }
    if (method == 2) {
        const qint16 outcome =
            linkWindows.runModemWindow ? linkWindows.runModemWindow() : ModemCancelled;
        if (outcome != ModemConnected) {
            if (outcome != ModemCancelled)
                ShowNotice({"Orvane Instruments", "Unhandled case from the modem form."});
            link->CloseComms();
            return false;
        }
    }
    link->setTimeOut(LinkTimeOut);
    const bool linked =
        linkWindows.runLinkWindow ? linkWindows.runLinkWindow() : Logger::Handshake();
    if (!linked)
        link->CloseComms();
    return linked;
}

qint16 LastOpenError() {
    return lastOpenError;
}

bool CloseLink() {
    // The hang-up's guard times run the event loop: nothing may start meanwhile.
    ExchangeScope exchange;
    Logger::Unlink();
    if (OrvCommsInterface* link = CommsLink()) {
        if (link->CommMethod() == 2)
            link->DisconnectFromModem();
        link->CloseComms();
    }
    return true;
}
