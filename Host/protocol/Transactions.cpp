#include "Transactions.h"

#include "Convert.h"
#include "Framing.h"

bool ActionTransaction(const QByteArray& letter) {
    ExchangeScope exchange;
    SendCommand(letter);
    return RequestReply(1);
}

qint16 ByteQuery(const QByteArray& letter, const QString& name) {
    return RecordQuery(letter, name, 1) ? qint16(quint8(Session().ReplyBuffer.at(0))) : qint16(-1);
}

qint16 WordQuery(const QByteArray& letter, const QString& name) {
    return RecordQuery(letter, name, 2) ? ReadWord(Session().ReplyBuffer, 1) : qint16(-1);
}

bool ByteSettingWithEcho(const QByteArray& letter, const QString& name, qint16 value) {
    // The notice comes after the exchange, so that the status behind it keeps polling.
    QString failure;
    {
        ExchangeScope exchange;
        SendCommand(letter);
        if (!SendData(QByteArray(1, char(value & 0xFF))))
            failure = "Data not sent";
        else if (!RequestReply(1))
            failure = "Data not received";
        else if (Session().ReplyBuffer != letter)
            failure = "Wrong return char.";
    }
    if (failure.isEmpty())
        return true;
    ReportCommsFailure(name + "\r" + failure);
    return false;
}

bool RecordQuery(const QByteArray& letter, const QString& name, qint16 length) {
    bool replied = false;
    {
        ExchangeScope exchange;
        SendCommand(letter);
        replied = RequestReply(length);
    }
    if (!replied && !name.isEmpty())
        ReportCommsFailure(name);
    return replied;
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
