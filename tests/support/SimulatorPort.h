#pragma once

#include "LoggerSimulator.h"

#include <QSettings>
#include <QtGlobal>

// Starts the simulator and names its device behind a port number in the
// host's settings store, as a user would for a USB adapter.
inline bool StartSimulatorOnPort(LoggerSimulator& sim, int port = 1) {
    std::string error;
    if (!sim.start(&error)) {
        qWarning("simulator: %s", error.c_str());
        return false;
    }
    QSettings store(QSettings::IniFormat, QSettings::UserScope, "OrvType1", "OrvType1");
    store.setValue("Comms/Device" + QString::number(port),
                   QString::fromStdString(sim.devicePath()));
    store.sync();
    return true;
}
