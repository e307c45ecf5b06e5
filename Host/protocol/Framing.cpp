#include "Framing.h"

QByteArray ReplyBuffer;
bool PortOpenFlag = false;

namespace {

const char CommandStart = '\x01';
const char ReplyRequest = '\x02';
const char DataStart = '\x03';

} // namespace

void SendCommand(const QByteArray& letter) {
    OrvCommsInterface* link = CommsLink();
    if (!link)
        return;
    // The logger speaks only when asked, so anything waiting now is left over
    // from an earlier, failed exchange (or a modem's line end) and would be
    // taken for the start of this command's reply.
    link->Flush();
    link->Send(CommandStart + letter);
}

bool SendData(const QByteArray& data) {
    OrvCommsInterface* link = CommsLink();
    if (!link || link->Receive(1).isEmpty())
        return false;
    link->Send(DataStart + data);
    return true;
}

bool RequestReply(qint16 length) {
    OrvCommsInterface* link = CommsLink();
    if (!link) {
        ReplyBuffer.clear();
        return false;
    }
    link->Send(QByteArray(1, ReplyRequest));
    ReplyBuffer = link->Receive(length);
    return !ReplyBuffer.isEmpty();
}

bool RequestReplyWithEvents(qint16 length) {
    OrvCommsInterface* link = CommsLink();
    if (!link) {
        ReplyBuffer.clear();
        return false;
    }
    link->Send(QByteArray(1, ReplyRequest));
    ReplyBuffer = link->ReceiveWithEvents(length);
    return !ReplyBuffer.isEmpty();
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

bool LinkIsLost() {
    OrvCommsInterface* link = CommsLink();
    return !link || link->LinkLost();
}

bool ChangeBaudRate(qint32 baudRate) {
    OrvCommsInterface* link = CommsLink();
    if (!link)
        return false;
    link->CloseComms();
    link->setBaudRate(baudRate);
    return link->OpenComms() == 0;
}
