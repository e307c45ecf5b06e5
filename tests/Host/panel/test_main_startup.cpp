// Start-up defaults and placement, the factory word, the communications
// menus, modem linking from the panel, the graph button without its library.
#include "GraphLauncher.h"
#include "PanelFixture.h"
#include "Twips.h"
#include "frmModem.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>

using Outcome = LoggerSimulator::DialOutcome;

class TestMainStartup : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QSettings settings = PanelFixture::store();
        settings.clear();
        settings.sync();
    }

    void defaultsWithNothingStored() {
        frmMain panel;
        QCOMPARE(panel.windowTitle(), QString("QN-7X Control Panel 1.00.000 - Orvane Instruments"));
        QCOMPARE(Session().port, qint16(2));
        QCOMPARE(Session().baud, 19200);
        QCOMPARE(Session().method, qint16(1));
        QCOMPARE(panel.statusTimer()->interval(), 250);
        QVERIFY(!panel.statusTimer()->isActive());
        QVERIFY(panel.findChild<QAction*>("ComPortItem2")->isChecked());
        QVERIFY(panel.findChild<QAction*>("BaudRateItem1")->isChecked());
        QVERIFY(panel.findChild<QAction*>("CommMethodItem1")->isChecked());
        QVERIFY(panel.findChild<QAction*>("UpdateRateItem4")->isChecked());
        QCOMPARE(panel.findChild<QLabel*>("DegreesLabel")->text(), QString(QChar(176)) + "C");
        QVERIFY(panel.findChild<QAction*>("ComPortItem2")->text().contains("/dev/ttyS1"));
    }

    void unreadableValuesTakeTheirDefaults() {
        QSettings settings = PanelFixture::store();
        settings.setValue("Comms/Port", "two");
        settings.setValue("Comms/Baud", "99999999999");
        settings.setValue("Comms/Method", 7);
        settings.setValue("Main/Left", "left");
        settings.sync();
        frmMain panel;
        QCOMPARE(Session().port, qint16(2));
        QCOMPARE(Session().baud, 19200);
        QCOMPARE(Session().method, qint16(1));
    }

    void storedValuesAndPlacement() {
        QSettings settings = PanelFixture::store();
        settings.setValue("Comms/Port", 3);
        settings.setValue("Comms/Baud", 9600);
        settings.setValue("Comms/Method", 2);
        settings.setValue("Main/Left", Twips::fromPixels(40));
        settings.setValue("Main/Top", Twips::fromPixels(30));
        settings.sync();
        {
            frmMain panel;
            QCOMPARE(Session().port, qint16(3));
            QCOMPARE(Session().baud, 9600);
            QCOMPARE(Session().method, qint16(2));
            QCOMPARE(panel.pos(), QPoint(40, 30));
            // The modem method polls once a second and has no peak hold.
            QCOMPARE(panel.statusTimer()->interval(), 1000);
            QVERIFY(!panel.findChild<QAction*>("PeakHoldItem")->isEnabled());
            QVERIFY(!panel.findChild<QAction*>("UpdateRateItem8")->isEnabled());
            panel.show();
            panel.move(60, 50);
            QVERIFY(panel.close());
        }
        QCOMPARE(PanelFixture::store().value("Main/Left").toInt(), Twips::fromPixels(60));
        QCOMPARE(PanelFixture::store().value("Main/Top").toInt(), Twips::fromPixels(50));
    }

    void placementKeptOnTheScreen() {
        QSettings settings = PanelFixture::store();
        settings.setValue("Main/Left", 9000000);
        settings.setValue("Main/Top", -9000000);
        settings.sync();
        frmMain panel;
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(panel.pos()));
    }

    void minimisedCloseKeepsThePlacement() {
        QSettings settings = PanelFixture::store();
        settings.setValue("Main/Left", 345);
        settings.sync();
        {
            frmMain panel;
            panel.showMinimized();
            panel.close();
        }
        QCOMPARE(PanelFixture::store().value("Main/Left").toInt(), 345);
    }

    void factoryWord() {
        {
            PanelFixture with;
            QVERIFY(with.start({"KelpMarker"}));
            with.provideActivities();
            QVERIFY(with.button("InitButton")->isVisible());
            QVERIFY(!with.button("InitButton")->isEnabled()); // only while linked
            QVERIFY(with.link());
            QVERIFY(with.button("InitButton")->isEnabled());
        }
        PanelFixture without;
        QVERIFY(without.start({"Kelp"}));
        QVERIFY(without.link());
        QVERIFY(!without.button("InitButton")->isVisible());
    }

    void communicationsMenusStoreTheirChoice() {
        frmMain panel;
        panel.findChild<QAction*>("ComPortItem4")->trigger();
        panel.findChild<QAction*>("BaudRateItem4")->trigger();
        panel.findChild<QAction*>("CommMethodItem2")->trigger();
        QSettings settings = PanelFixture::store();
        QCOMPARE(settings.value("Comms/Port").toInt(), 4);
        QCOMPARE(settings.value("Comms/Baud").toInt(), 4800);
        QCOMPARE(settings.value("Comms/Method").toInt(), 2);
        QVERIFY(panel.findChild<QAction*>("ComPortItem4")->isChecked());
        QVERIFY(!panel.findChild<QAction*>("ComPortItem2")->isChecked());
        QCOMPARE(panel.statusTimer()->interval(), 1000);
        panel.findChild<QAction*>("CommMethodItem1")->trigger();
        QVERIFY(panel.findChild<QAction*>("UpdateRateItem8")->isEnabled());
    }

    void baudChangeWhileLinkedReclocksBothEnds() {
        PanelFixture f;
        QVERIFY(f.start());
        QVERIFY(f.link());
        ModalAnswerer boxes;
        f.item("BaudRateItem2")->trigger();
        QCOMPARE(boxes.lastText(), QString("Will change to 9600."));
        QCOMPARE(f.sim.baudRate(), 9600);
        QCOMPARE(CommsLink()->BaudRate(), 9600);
        f.sim.model().setLevel(555);
        f.poll();
        QCOMPARE(f.text("boxSPL"), QString("55.5"));
    }

    void modemLinkStoresTheNumber() {
        PanelFixture f(true);
        QSettings settings = PanelFixture::store();
        settings.setValue("Modem/Number1", "111");
        settings.setValue("Modem/Number2", "222");
        settings.setValue("Modem/Number3", "5550100");
        settings.setValue("Modem/Number4", "444");
        settings.sync();
        QVERIFY(f.start({}, 2));
        auto* modem = f.panel->findChild<frmModem*>();
        QTimer::singleShot(300, [modem] {
            modem->findChild<QComboBox*>("cboNumber")->setCurrentText("5550100");
            modem->findChild<QPushButton*>("cmdDial")->click();
        });
        QVERIFY(f.link());
        settings.sync();
        QStringList order;
        for (int slot = 1; slot <= 4; ++slot)
            order << settings.value(QString("Modem/Number%1").arg(slot)).toString();
        QCOMPARE(order, QStringList({"5550100", "111", "222", "444"}));
        f.sim.clearHostBytes();
        MessageAnswerer answers({MessageAnswerer::Answer::Confirm});
        f.button("cmdLink")->click();
        QVERIFY(!Session().linked);
        QVERIFY(f.wire().find("+++") != std::string::npos);
    }

    // Before any viewer: a plugin once loaded stays loaded for the process.
    void graphButtonWithoutTheLibrary() {
        GraphLauncher::setLibraryPath("/nonexistent/OrvGraph");
        frmMain panel;
        panel.show();
        MessageAnswerer answers;
        panel.findChild<QPushButton*>("GraphButton")->click();
        QCOMPARE(answers.seen.size(), 1);
        QCOMPARE(answers.seen.first().title, QString("Unable to access Graph"));
        QVERIFY(answers.seen.first().text.startsWith("Unable to locate the graphing utility."));
        QVERIFY(panel.findChild<QPushButton*>("cmdLink")->isEnabled());
        GraphLauncher::setLibraryPath(QString());
    }

    // One viewer at a time; the link waits until it closes.
    void graphButtonOpensOneViewer() {
        frmMain panel;
        panel.show();
        auto* graph = panel.findChild<QPushButton*>("GraphButton");
        auto viewers = [] {
            QList<QWidget*> found;
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->objectName() == "frmGraph" && window->isVisible())
                    found << window;
            return found;
        };
        graph->click();
        QCOMPARE(viewers().size(), 1);
        QVERIFY(!panel.findChild<QPushButton*>("cmdLink")->isEnabled());
        QVERIFY(!panel.findChild<QAction*>("LinkItem")->isEnabled());
        graph->click();
        QCOMPARE(viewers().size(), 1);
        viewers().first()->close();
        QTRY_VERIFY(panel.findChild<QPushButton*>("cmdLink")->isEnabled());
        QVERIFY(graph->isEnabled());
        QTRY_COMPARE(viewers().size(), 0);
    }
};

QTEST_MAIN(TestMainStartup)
#include "test_main_startup.moc"
