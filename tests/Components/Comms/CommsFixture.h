#pragma once

#include "ComlaneLoader.h"
#include "LoggerSimulator.h"

#include <QSettings>
#include <QTest>
#include <memory>

// Points port 1 at a fresh simulator and loads OrvComms as the host does.
struct CommsFixture {
    LoggerSimulator sim;
    std::unique_ptr<OrvCommsInterface> comms;

    bool setUp() {
        std::string error;
        if (!sim.start(&error)) {
            qWarning("simulator: %s", error.c_str());
            return false;
        }
        QSettings store(QSettings::IniFormat, QSettings::UserScope, "OrvType1", "OrvType1");
        store.setValue("Comms/Device1", QString::fromStdString(sim.devicePath()));
        store.sync();
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
