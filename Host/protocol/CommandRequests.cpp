#include "CommandRequests.h"

#include "CommandLibrary.h"
#include "Framing.h"
#include "Link.h"
#include "Notices.h"
#include "RequestCodes.h"
#include "RequestQueue.h"

BaudChange ChangeLinkBaudRate(qint32 baudRate) {
    // Re-clocking a logger that never got the new rate would lose the link.
    if (!Logger::SetLoggerBaudRate(baudRate)) {
        ReportCommsFailure("Set baud rate");
        return BaudChange::Refused;
    }
    ShowNotice({"Orv", "Will change to " + QString::number(baudRate) + "."});
    return ChangeBaudRate(baudRate) ? BaudChange::Changed : BaudChange::PortLost;
}

void RegisterCommandRequests() {
    RegisterRequest(Request::SetFrequency, [](qint16 code) { Logger::SetFrequency(code); });
    RegisterRequest(Request::SetTimeWeighting, [](qint16 code) { Logger::SetTimeWeighting(code); });
    RegisterRequest(Request::ResetLogger, [](qint16) { Logger::ResetLogger(); });
    RegisterRequest(Request::SwitchBuffers, [](qint16) { Logger::SwitchBuffers(); });
    RegisterRequest(Request::SetRange, [](qint16 index) { Logger::SetRange(index); });
}
