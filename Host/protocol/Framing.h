#pragma once

#include "ComlaneLoader.h"
#include "CommsFailure.h"
#include "ExchangeGuard.h"

#include <QByteArray>
#include <QString>

// The framing primitives: the only way to the logger. Byte 1 starts a
// command, byte 2 asks for its reply, byte 3 starts a data block that follows
// the logger's ready character.

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

// Closes, re-clocks and reopens the host's port; false when it did not reopen.
bool ChangeBaudRate(qint32 baudRate);
