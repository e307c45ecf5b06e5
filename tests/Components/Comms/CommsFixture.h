#pragma once

#include "ComlaneLoader.h"
#include "SimulatorPort.h"

#include <QSettings>
#include <QTest>
#include <memory>

// Points port 1 at a fresh simulator and loads OrvComms as the host does.
struct CommsFixture {
    LoggerSimulator sim;
    std::unique_ptr<OrvCommsInterface> comms;

    bool setUp() {
        if (!StartSimulatorOnPort(sim))
            return false;
        QString loadError;
        comms = CreateOrvComms(&loadError);
        if (!comms) {
            qWarning("Comlane: %s", qPrintable(loadError));
            return false;
        }
        comms->setCommPort(1);
        return comms->OpenComms() == 0;
    }
};
