#include "Link.h"

#include "CommandLibrary.h"
#include "Framing.h"
#include "Notices.h"

namespace {

constexpr qint32 LinkTimeOut = 2000;
constexpr qint16 ModemConnected = 1;
constexpr qint16 ModemCancelled = 2;
constexpr qint16 DialFailed = 1; // as ConnectToModem says of a dial that got no connection

LinkWindows linkWindows;

} // namespace

void SetLinkWindows(LinkWindows windows) {
    linkWindows = std::move(windows);
}

bool OpenLink(qint16 port, qint32 baudRate, qint16 method) {
    Session().lastOpenError = 0;
    OrvCommsInterface* link = CommsLink();
    if (!link) {
        Session().PortOpenFlag = false;
        ReportComlaneMissing();
        return false;
    }
    link->setCommPort(port);
    link->setBaudRate(baudRate);
    link->setCommMethod(method);
    link->setReceiveInterrupt(false); // a Cancel pressed after an earlier wait is stale
    Session().PortOpenFlag = true;
    const qint16 opened = link->OpenComms();
    Session().lastOpenError = opened;
    if (opened == CommsError::InvalidPort) {
        Session().PortOpenFlag = false;
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

void SetCommsTimeOut(qint32 milliseconds) {
    if (OrvCommsInterface* link = CommsLink())
        link->setTimeOut(milliseconds);
}

qint32 GetCommsTimeOut() {
    OrvCommsInterface* link = CommsLink();
    return link ? link->TimeOut() : 0;
}

void InterruptReceive() {
    if (OrvCommsInterface* link = CommsLink())
        link->setReceiveInterrupt(true);
}

bool ChangeBaudRate(qint32 baudRate) {
    OrvCommsInterface* link = CommsLink();
    if (!link)
        return false;
    link->CloseComms();
    link->setBaudRate(baudRate);
    return link->OpenComms() == 0;
}

QString PortDevice(qint16 port) {
    OrvCommsInterface* link = CommsLink();
    return link ? link->PortDevice(port) : QString();
}

void ClosePort() {
    if (OrvCommsInterface* link = CommsLink())
        link->CloseComms();
}

qint16 DialModem(const QByteArray& initialisation, const QByteArray& number, QObject* feedback) {
    OrvCommsInterface* link = CommsLink();
    return link ? link->ConnectToModem(initialisation, number, feedback) : DialFailed;
}

void HangUpModem() {
    if (OrvCommsInterface* link = CommsLink())
        link->DisconnectFromModem();
}
