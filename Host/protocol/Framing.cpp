#include "Framing.h"

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
        Session().ReplyBuffer.clear();
        return false;
    }
    link->Send(QByteArray(1, ReplyRequest));
    Session().ReplyBuffer = link->Receive(length);
    return !Session().ReplyBuffer.isEmpty();
}

bool RequestReplyWithEvents(qint16 length) {
    OrvCommsInterface* link = CommsLink();
    if (!link) {
        Session().ReplyBuffer.clear();
        return false;
    }
    link->Send(QByteArray(1, ReplyRequest));
    Session().ReplyBuffer = link->ReceiveWithEvents(length);
    return !Session().ReplyBuffer.isEmpty();
}
