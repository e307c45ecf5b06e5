#include "Transactions.h"

#include "Convert.h"
#include "Framing.h"

bool ActionTransaction(const QByteArray& letter) {
    ExchangeScope exchange;
    SendCommand(letter);
    return RequestReply(1);
}

qint16 ByteQuery(const QByteArray& letter, const QString& name) {
    return RecordQuery(letter, name, 1) ? qint16(quint8(ReplyBuffer.at(0))) : qint16(-1);
}

qint16 WordQuery(const QByteArray& letter, const QString& name) {
    return RecordQuery(letter, name, 2) ? ReadWord(ReplyBuffer, 1) : qint16(-1);
}

bool ByteSettingWithEcho(const QByteArray& letter, const QString& name, qint16 value) {
    ExchangeScope exchange;
    SendCommand(letter);
    if (!SendData(QByteArray(1, char(value & 0xFF)))) {
        ReportCommsFailure(name + "\rData not sent");
        return false;
    }
    if (!RequestReply(1)) {
        ReportCommsFailure(name + "\rData not received");
        return false;
    }
    if (ReplyBuffer != letter) {
        ReportCommsFailure(name + "\rWrong return char.");
        return false;
    }
    return true;
}

bool RecordQuery(const QByteArray& letter, const QString& name, qint16 length) {
    ExchangeScope exchange;
    SendCommand(letter);
    if (RequestReply(length))
        return true;
    if (!name.isEmpty())
        ReportCommsFailure(name);
    return false;
}

bool SettingTransaction(const QByteArray& letter, const QByteArray& data, qint16 replyLength) {
    ExchangeScope exchange;
    SendCommand(letter);
    SendData(data);
    return RequestReply(replyLength);
}

void CommandOnly(const QByteArray& letter) {
    ExchangeScope exchange;
    SendCommand(letter);
}
