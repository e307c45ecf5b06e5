#pragma once

#include "Link.h"
#include "NoticeRecorder.h"
#include "SimulatorPort.h"

#include <QTest>

#include <string>

// A simulator on a pseudo-terminal with the host linked to it on port 1.
struct LinkedLogger {
    LoggerSimulator sim;

    explicit LinkedLogger(bool modem = false) { sim.setModemMode(modem); }
    ~LinkedLogger() { ClosePort(); }

    bool startSimulator() { return StartSimulatorOnPort(sim); }

    bool link() { return startSimulator() && OpenLink(1, 19200, 1); }

    std::string wire() const { return sim.hostBytes(); }
};
