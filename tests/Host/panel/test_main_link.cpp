// Linking from the control panel: the handshake and its retries, cancel,
// invalid ports, the information checks, and unlinking.
#include "Controls.h"
#include "FillPanel.h"
#include "PanelFixture.h"
#include "frmAbout.h"
#include "frmLink.h"

#include <QTimer>

using Fault = LoggerSimulator::Fault;
using Answer = MessageAnswerer::Answer;

class TestMainLink : public QObject {
    Q_OBJECT

private slots:
    void firstHandshakeLinksWithoutTheWindow() {
        PanelFixture f;
        QVERIFY(f.start());
        f.provideActivities();
        f.sim.model().setSerialNumber(5012345);
        QVERIFY(f.link());
        auto* window = f.panel->findChild<frmLink*>("frmLink");
        QCOMPARE(window->attempts(), 0);
        QVERIFY(!window->isVisible());
        QCOMPARE(f.text("SerialNumberBox"), QString("05-012-345"));
        QCOMPARE(f.text("ModeBox"), QString("Standby"));
        QCOMPARE(f.button("cmdLink")->text(), QString("&Unlink"));
        QCOMPARE(f.item("LinkItem")->text(), QString("&Unlink from Logger"));
        QVERIFY(f.panel->statusTimer()->isActive());
        QVERIFY(f.button("LoggingButton")->isEnabled());
        QVERIFY(f.button("CalibrateButton")->isEnabled());
        QVERIFY(!f.button("DetailsButton")->isEnabled()); // only while logging
        QVERIFY(!f.button("InitButton")->isVisible());    // no factory word
        auto* about = f.panel->findChild<frmAbout*>();
        QCOMPARE(Control<QLabel>(about, "lblSerialNumber")->text(), QString("05-012-345"));
    }

    void retriesShowTheProgressPanel() {
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.setFault(Fault::Silent);
        // The logger wakes during the second retry.
        QTimer::singleShot(4500, [&] { f.sim.setFault(Fault::None); });
        QVERIFY(f.link());
        auto* window = f.panel->findChild<frmLink*>("frmLink");
        QVERIFY(window->attempts() >= 1 && window->attempts() < frmLink::MaximumAttempts);
        QCOMPARE(window->findChild<FillPanel*>("pnlDone")->fillPercent(), 10 * window->attempts());
        QCOMPARE(window->findChild<QLabel*>("lblDone")->text(), QString("Link failed - Retrying."));
        QVERIFY(!window->isVisible());
    }

    void cancelEndsTheAttempt() {
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.setFault(Fault::Silent);
        ModalAnswerer boxes;
        QTimer::singleShot(3500, [&] {
            f.panel->findChild<frmLink*>("frmLink")->findChild<QPushButton*>("cmdCancel")->click();
        });
        QVERIFY(!f.link());
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.lastTitle(), QString("Error!"));
        QCOMPARE(boxes.lastText(), QString("Unable to link to a logger.\n\nCheck that the "
                                           "communications\nsettings are correct and\nthat the "
                                           "logger is awake."));
        QVERIFY(f.panel->findChild<frmLink*>("frmLink")->attempts() < frmLink::MaximumAttempts);
        QCOMPARE(f.button("cmdLink")->text(), QString("Lin&k"));
        QVERIFY(f.button("cmdLink")->isEnabled());
    }

    void tenFailedRetriesFillThePanel() {
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.setFault(Fault::Silent);
        ModalAnswerer boxes;
        QVERIFY(!f.link());
        auto* window = f.panel->findChild<frmLink*>("frmLink");
        QCOMPARE(window->attempts(), frmLink::MaximumAttempts);
        QCOMPARE(window->findChild<FillPanel*>("pnlDone")->fillPercent(), 100);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(CommsLink()->OpenComms(), qint16(0)); // the port was closed again
    }

    void invalidPortDisablesItsMenuEntry() {
        PanelFixture f;
        QVERIFY(f.start());
        QSettings settings = PanelFixture::store();
        settings.setValue("Comms/Device1", "/dev/no-such-logger-port");
        settings.sync();
        ModalAnswerer boxes;
        QVERIFY(!f.link());
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.lastText(), QString("Invalid port number"));
        QVERIFY(!f.item("ComPortItem1")->isEnabled());
    }

    void versionCheck_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("4.255") << 0x04FF << true;
        QTest::newRow("5.0") << 0x0500 << false;
    }
    void versionCheck() {
        QFETCH(int, version);
        QFETCH(bool, accepted);
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.model().setFirmwareVersions(version, 0x0201);
        ModalAnswerer boxes;
        QCOMPARE(f.link(), accepted);
        QCOMPARE(boxes.count(), accepted ? 0 : 1);
        if (!accepted)
            QCOMPARE(boxes.lastText(), QString("The version of this logger is later then can be "
                                               "handled by this version of software.  Please "
                                               "contact your Orv distributor for the latest "
                                               "version of QN-7X host software."));
    }

    void batteryAndMemory_data() {
        QTest::addColumn<int>("battery");
        QTest::addColumn<int>("batteryFill");
        QTest::addColumn<bool>("flat");
        QTest::newRow("flat") << 105 << 0 << true;
        QTest::newRow("11.0 V") << 110 << 0 << false;
        QTest::newRow("full") << 125 << 100 << false;
        QTest::newRow("above") << 130 << 100 << false;
    }
    void batteryAndMemory() {
        QFETCH(int, battery);
        QFETCH(int, batteryFill);
        QFETCH(bool, flat);
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.model().setBattery(battery);
        ModalAnswerer boxes;
        QVERIFY(f.link());
        QCOMPARE(f.find<FillPanel>("BatteryPanel")->fillPercent(), batteryFill);
        QCOMPARE(boxes.count(), flat ? 1 : 0);
        if (flat) {
            QCOMPARE(boxes.lastTitle(), QString("Warning"));
            QCOMPARE(boxes.lastText(), QString("The Battery is flat"));
        }
        auto* about = f.panel->findChild<frmAbout*>();
        QCOMPARE(Control<QLabel>(about, "lblBattery")->text(),
                 QString::asprintf("%04.1fV", battery / 10.0));
        const qint32 free = f.sim.model().freeMemory();
        QCOMPARE(Control<QLabel>(about, "lblMemory")->text(),
                 QString::number((free + 512) / 1024) + "kB");
        QCOMPARE(f.find<FillPanel>("MemoryPanel")->fillPercent(),
                 int((262144 - free) * 100 / 262144));
    }

    void temperatureNotFittedHidesItsDisplay() {
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.model().setTemperature(-100);
        QVERIFY(f.link());
        QVERIFY(f.text("TemperatureBox").isEmpty());
        QVERIFY(f.find<QWidget>("TemperatureFrame")->isVisible()); // still a way to calibrate
    }

    void powerDownDisabledOnACableIsQuestioned() {
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.model().setPowerDownDisabled(true);
        MessageAnswerer answers({Answer::Confirm});
        QVERIFY(f.link());
        QCOMPARE(answers.seen.size(), 1);
        QCOMPARE(answers.seen.first().title, QString("Orvane Instruments"));
        QVERIFY(answers.seen.first().text.startsWith(
            "The power down feature of this logger has been disabled."));
        QVERIFY(!f.sim.model().powerDownDisabled()); // Yes re-enabled it
        QCOMPARE(f.item("PowerDownItem")->text(), QString("Disable &Power Down"));
    }

    void dayConflictIsReported() {
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.model().setClock({2004, 3, 1, 12, 0, 0}, 3); // a Monday reported as Wednesday
        MessageAnswerer answers({Answer::Confirm});
        QVERIFY(f.link());
        QCOMPARE(answers.seen.size(), 1);
        QCOMPARE(answers.seen.first().title, QString("Routine verification..."));
        QVERIFY(f.text("DateBox").endsWith(".  12:00:00") ||
                f.text("DateBox").contains(".  12:00:0"));
    }

    void unlinkAsksThenSendsN() {
        PanelFixture f;
        QVERIFY(f.start());
        QVERIFY(f.link());
        MessageAnswerer answers({Answer::Cancel, Answer::Confirm});
        f.button("cmdLink")->click();
        QVERIFY(Session().linked); // No keeps the link
        QVERIFY(f.panel->statusTimer()->isActive());
        f.sim.clearHostBytes();
        f.button("cmdLink")->click();
        QVERIFY(!Session().linked);
        QCOMPARE(answers.seen.last().text, QString("Are you sure you want to unlink from the "
                                                   "logger?"));
        QTRY_VERIFY(f.wire().find("\x01n") != std::string::npos);
        QVERIFY(f.text("SerialNumberBox").isEmpty());
        QVERIFY(!f.button("LoggingButton")->isEnabled());
        QCOMPARE(Control<QLabel>(f.panel->findChild<frmAbout*>(), "lblSerialNumber")->text(),
                 QString("Not Linked"));
    }

    void closingWhileLinkedSendsN() {
        PanelFixture f;
        QVERIFY(f.start());
        QVERIFY(f.link());
        f.sim.clearHostBytes();
        QVERIFY(f.panel->close());
        QTRY_COMPARE(QByteArray::fromStdString(f.wire()), QByteArray("\x01n"));
    }
};

QTEST_MAIN(TestMainLink)
#include "test_main_link.moc"
