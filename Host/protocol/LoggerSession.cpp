#include "LoggerSession.h"

void LoggerSession::forgetLogger() {
    battery = -1;
    freeMemory = -1;
    memoryAlmostFull = false;
    mode = 0;
    loggingRecord = EmptyBufferRecord();
}

void LoggerSession::startUnlinked() {
    linked = false;
    linking = false;
    forgetLogger();
    powerDownEnabled = true;
    loggerClock = UnsetDateTime();
    serialNumberText.clear();
}

LoggerSession& Session() {
    static LoggerSession session;
    return session;
}
