#pragma once

#include "BufferRecord.h"
#include "DateTime.h"

#include <QByteArray>
#include <QString>

// The link and the logger's state for the whole run, in one place. The
// control panel changes it as it links, polls and unlinks and shows it; the
// other windows and the command library read it. Plain data without widgets,
// so that a window or a routine is tested without a control panel.
struct LoggerSession {
    // The link as the operator set it up.
    qint16 port = 2;
    qint32 baud = 19200;
    qint16 method = 1; // 1 direct cable, 2 modem
    bool linked = false;
    bool linking = false;

    // The logger as the last information read and status poll gave it.
    qint16 mode = 0;
    bool powerDownEnabled = true;
    qint16 battery = -1;
    qint32 freeMemory = -1;
    bool memoryAlmostFull = false;
    // The record of the run set up in the logger (its last buffer), read on
    // linking and on each mode read; the empty record in standby.
    BufferRecord loggingRecord = EmptyBufferRecord();
    LoggerDateTime loggerClock = UnsetDateTime();
    // As the panel shows it, "16-498-400"; the data files' header carries it.
    QString serialNumberText;

    // The command library's state.
    // The last reply received by RequestReply or RequestReplyWithEvents; empty
    // when nothing came.
    QByteArray ReplyBuffer;
    // True from just before OpenLink opens the port until the port proves invalid.
    bool PortOpenFlag = false;
    // Why the last OpenLink did not open the port (a CommsError), 0 when it did
    // or when the port was never tried.
    qint16 lastOpenError = 0;
    // The weightings last sent, so that an unchanged one is not sent again; -1 unknown.
    qint16 CurrentFrequencyWeighting = -1;
    qint16 CurrentTimeWeighting = -1;

    // What the next logger must not inherit from this one.
    void forgetLogger();
    // No link and no logger known, as when the control panel opens; the link's
    // set-up and the command library's state are kept.
    void startUnlinked();
};

// The program's one session, for the whole run.
LoggerSession& Session();
