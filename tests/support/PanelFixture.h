#pragma once

#include "Framing.h"
#include "LoggerSession.h"
#include "MessageAnswerer.h"
#include "ModalAnswerer.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "SimulatorPort.h"
#include "frmMain.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <memory>

// The control panel on port 1, wired to a simulated logger.
struct PanelFixture {
    LoggerSimulator sim;
    std::unique_ptr<frmMain> panel;

    explicit PanelFixture(bool modem = false) { sim.setModemMode(modem); }
    ~PanelFixture() {
        panel.reset();
        for (qint16 code : std::as_const(standInRequests))
            RegisterRequest(code, nullptr);
        if (OrvCommsInterface* link = CommsLink())
            link->CloseComms();
    }

    static QSettings store() {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, "OrvType1", "OrvType1");
    }

    bool start(const QStringList& arguments = {}, int method = 1) {
        if (!StartSimulatorOnPort(sim))
            return false;
        QSettings settings = store();
        settings.setValue("Comms/Port", 1);
        settings.setValue("Comms/Method", method);
        settings.setValue("Comms/Baud", 19200);
        settings.sync();
        panel = std::make_unique<frmMain>(arguments);
        panel->show();
        return true;
    }

    // Stands in for the activity windows, so that the panel's own enabling
    // rules can be seen; counts what was opened.
    void provideActivities() {
        const auto count = [this](const QString& name) { return [this, name] { opened << name; }; };
        panel->setActivities({.openClock = count("clock"),
                              .calibrateTemperature = count("temperature"),
                              .openCalibration = count("calibration"),
                              .openLogging = count("logging"),
                              .showLastResults = [this](const QByteArray&) { opened << "results"; },
                              .stopLogging = count("stop"),
                              .updateBuffers = {},
                              .showRawLevel = {},
                              .refreshCurrentSettings = {},
                              .openFactory = count("factory")});
        for (qint16 code : {Request::ShowDownload, Request::DumpAll, Request::ShowDetails})
            if (!RequestIsRegistered(code)) {
                RegisterRequest(code, [this, code](qint16) { opened << QString::number(code); });
                standInRequests << code;
            }
        panel->EnableInterface(true);
    }
    QStringList opened;
    QList<qint16> standInRequests;

    template <typename T> T* find(const QString& name) const { return panel->findChild<T*>(name); }
    QPushButton* button(const QString& name) const { return find<QPushButton>(name); }
    QLabel* label(const QString& name) const { return find<QLabel>(name); }
    QAction* item(const QString& name) const { return find<QAction>(name); }
    QString text(const QString& name) const { return label(name)->text(); }

    bool link() {
        button("cmdLink")->click();
        return Session().linked;
    }
    // Runs one status poll as the timer would.
    void poll() { PostRequest(2); }
    std::string wire() const { return sim.hostBytes(); }
};
