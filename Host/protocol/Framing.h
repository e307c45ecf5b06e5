#pragma once

#include "OrvCommsInterface.h"

#include <QByteArray>
#include <QString>

// The framing primitives: the only way to the logger. Byte 1 starts a
// command, byte 2 asks for its reply, byte 3 starts a data block that follows
// the logger's ready character.

// The program's one OrvComms object, created on first use. Null only when the
// Comlane plugin cannot be loaded (said once); every exchange then fails.
OrvCommsInterface* CommsLink();

// The last reply received by RequestReply or RequestReplyWithEvents; empty
// when nothing came.
extern QByteArray ReplyBuffer;
// True from just before OpenLink opens the port until the port proves invalid.
extern bool PortOpenFlag;

void SendCommand(const QByteArray& letter);
bool SendData(const QByteArray& data);
bool RequestReply(qint16 length);
bool RequestReplyWithEvents(qint16 length);
void SetCommsTimeOut(qint32 milliseconds);
qint32 GetCommsTimeOut();
void InterruptReceive();
// True once the open port has failed under us (unplugged, far end gone).
bool LinkIsLost();

// "<text> failed." in the message window, when the operator has asked for it.
void ReportCommsFailure(const QString& text);
// Closes, re-clocks and reopens the host's port.
void ChangeBaudRate(qint32 baudRate);

// True while a transaction is on the wire, so that handlers run from the
// event loop during a wait do not start another one.
bool ExchangeInProgress();

class ExchangeScope {
public:
    ExchangeScope();
    ~ExchangeScope();
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;
};
