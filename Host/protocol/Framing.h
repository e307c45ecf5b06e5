#pragma once

#include "ComlaneLoader.h"
#include "CommsFailure.h"
#include "ExchangeGuard.h"
#include "LoggerSession.h"

#include <QByteArray>
#include <QString>

// The framing primitives: the only way to the logger. Byte 1 starts a
// command, byte 2 asks for its reply, byte 3 starts a data block that follows
// the logger's ready character.

// Replies land in Session().ReplyBuffer; Session().PortOpenFlag tells whether
// the port was opened.

void SendCommand(const QByteArray& letter);
bool SendData(const QByteArray& data);
bool RequestReply(qint16 length);
bool RequestReplyWithEvents(qint16 length);
