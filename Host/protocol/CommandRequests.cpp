#include "CommandRequests.h"

#include "CommandLibrary.h"
#include "Framing.h"
#include "Link.h"
#include "Notices.h"
#include "RequestQueue.h"

void ChangeLinkBaudRate(qint32 baudRate) {
    // Re-clocking a logger that never got the new rate would lose the link.
    if (!Logger::SetLoggerBaudRate(baudRate)) {
        ReportCommsFailure("Set baud rate");
        return;
    }
    ShowNotice({"Orv", "Will change to " + QString::number(baudRate) + "."});
    ChangeBaudRate(baudRate);
}

void RegisterCommandRequests() {
    RegisterRequest(3, [](qint16 code) { Logger::SetFrequency(code); });
    RegisterRequest(4, [](qint16 code) { Logger::SetTimeWeighting(code); });
    RegisterRequest(8, [](qint16) { CloseLink(); });
    RegisterRequest(26, [](qint16) { Logger::ResetLogger(); });
    RegisterRequest(27, [](qint16) { Logger::SwitchBuffers(); });
    RegisterRequest(35, [](qint16 rate) { ChangeLinkBaudRate(quint16(rate)); });
    RegisterRequest(38, [](qint16 index) { Logger::SetRange(index); });
}
