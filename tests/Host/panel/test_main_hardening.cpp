// The panel under real conditions: dismissing a link attempt, closing during
// one, readings of one logger never shown for the next, clicks that land
// during an exchange, refused changes, and what a screen reader is told.
#include "CommandLibrary.h"
#include "ExchangeGuard.h"
#include "PanelFixture.h"
#include "RequestCodes.h"
#include "frmLink.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QTimer>

using Fault = LoggerSimulator::Fault;
using Answer = MessageAnswerer::Answer;

namespace {

QString AccessibleName(QObject* control) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    return face ? face->text(QAccessible::Name) : QString();
}

} // namespace

class TestMainHardening : public QObject {
    Q_OBJECT

private slots:
    // Every way of dismissing the link window stops the retries at once.
    void dismissingStopsTheRetries_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "Cancel";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("close box") << "close box";
        QTest::newRow("main window closed") << "main window closed";
    }
    void dismissingStopsTheRetries() {
        QFETCH(QString, how);
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.setFault(Fault::Silent);
        ModalAnswerer boxes;
        auto* window = f.panel->findChild<frmLink*>("frmLink");
        int attemptsWhenDismissed = -1;
        QTimer::singleShot(3000, [&] {
            attemptsWhenDismissed = window->attempts();
            if (how == "Cancel")
                window->findChild<QPushButton*>("cmdCancel")->click();
            else if (how == "Escape")
                QTest::keyClick(window, Qt::Key_Escape);
            else if (how == "close box")
                window->close();
            else
                f.panel->close();
        });
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(!f.link());
        QVERIFY(attemptsWhenDismissed >= 1);
        QCOMPARE(window->attempts(), attemptsWhenDismissed);
        QVERIFY(elapsed.elapsed() < 8000);
        QVERIFY(!window->isVisible());
    }

    // The next logger starts from nothing: a reading it fails to give is not
    // taken from the last one.
    void unlinkForgetsTheLogger() {
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.model().setBattery(125);
        QVERIFY(f.link());
        QCOMPARE(Session().battery, qint16(125));
        QVERIFY(Session().freeMemory > 0);
        MessageAnswerer answers({Answer::Confirm});
        f.button("cmdLink")->click();
        QVERIFY(!Session().linked);
        QCOMPARE(Session().battery, qint16(-1));
        QCOMPARE(Session().freeMemory, -1);
        QVERIFY(!Session().memoryAlmostFull);
        QCOMPARE(Session().mode, qint16(0));
    }

    // The estimate shown with the mode at link time already knows the memory.
    void estimateAtLinkUsesTheFreeMemory() {
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.model().fillMemory();
        f.sim.model().setBattery(140); // 14 days of battery: the memory is shorter
        f.sim.model().setMode(1);
        QVERIFY(f.link());
        const QString mode = f.text("ModeBox");
        QVERIFY2(mode.startsWith("Logging (Est ") && !mode.contains("14 days"), qPrintable(mode));
    }

    // Unlink and the overload click that land during a request run are carried
    // out after it, not dropped.
    void clicksDuringARunAreKept() {
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.model().setOverload(true);
        QVERIFY(f.link());
        QCOMPARE(f.button("OverloadIndicatio")->text(), QString("&Reset"));
        MessageAnswerer answers({Answer::Confirm});
        f.sim.clearHostBytes();
        RegisterRequest(28, [&](qint16) {
            f.button("OverloadIndicatio")->click();
            f.button("cmdLink")->click();
            QVERIFY(Session().linked); // not yet: the run is still going
        });
        PostRequest(28);
        RegisterRequest(28, nullptr);
        QVERIFY(!Session().linked);
        const std::string wire = f.wire();
        QVERIFY(wire.find("\x01v") != std::string::npos);
        QVERIFY(wire.find("\x01v") < wire.find("\x01n"));
    }

    // A request posted while an exchange runs outside the queue waits for it.
    void requestsHeldDuringAnExchange() {
        int runs = 0;
        RegisterRequest(28, [&](qint16) { ++runs; });
        {
            ExchangeScope exchange;
            PostRequest(28);
            QCOMPARE(runs, 0);
        }
        QTRY_COMPARE(runs, 1);
        RegisterRequest(28, nullptr);
    }

    // Refused outside standby, a weighting goes back to what the screen showed,
    // even when the logger's last answer was lost.
    void refusedWeightingKeepsTheScreen() {
        PanelFixture f;
        QVERIFY(f.start());
        QVERIFY(f.link());
        SetCommsTimeOut(200);
        f.sim.setFault(Fault::Silent);
        f.button("FreqWeightingButton1")->click(); // A shown; its "F" is lost
        QCOMPARE(Session().CurrentFrequencyWeighting, qint16(-1));
        f.sim.setFault(Fault::None);
        f.sim.model().setMode(1);
        PostRequest(Request::GetStatus);
        QCOMPARE(Session().mode, qint16(1));
        f.button("FreqWeightingButton0")->click();
        QVERIFY(f.button("FreqWeightingButton1")->isChecked());
        QVERIFY(!f.button("FreqWeightingButton0")->isChecked());
        QCOMPARE(f.text("lblUnits").left(4), QString("dB A"));
    }

    // A rate the logger did not take leaves the menu and label on the rate in use.
    void refusedBaudRateKeepsTheRate() {
        PanelFixture f;
        QVERIFY(f.start());
        QVERIFY(f.link());
        SetCommsTimeOut(200);
        f.sim.setFault(Fault::Silent);
        f.item("BaudRateItem2")->trigger(); // 9600
        QCOMPARE(CommsLink()->BaudRate(), 19200);
        QVERIFY(f.item("BaudRateItem1")->isChecked());
        QVERIFY(!f.item("BaudRateItem2")->isChecked());
        QVERIFY(f.text("lblComms").contains("19200 baud"));
        QCOMPARE(PanelFixture::store().value("Comms/Baud").toInt(), 19200);
    }

    // What a screen reader says of a control is what the control shows.
    void accessibleNamesFollowCaptions() {
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.model().setOverload(true);
        QCOMPARE(AccessibleName(f.button("cmdLink")), QString("Link"));
        QVERIFY(f.link());
        QCOMPARE(AccessibleName(f.button("cmdLink")), QString("Unlink"));
        QCOMPARE(AccessibleName(f.button("OverloadIndicatio")), QString("Reset"));
        QCOMPARE(AccessibleName(f.button("FreqWeightingButton1")), QString("A"));
        QCOMPARE(AccessibleName(f.button("TimeWeightingButton0")), QString("F"));
    }

    // A control whose activity no window provides is disabled, never a
    // button that does nothing.
    void unprovidedActivitiesAreDisabled() {
        PanelFixture f;
        QVERIFY(f.start({"KelpMarker"}));
        f.sim.model().setMode(1);
        QVERIFY(f.link());
        for (const char* name : {"LoggingButton", "DownloadButton", "CalibrateButton",
                                 "DetailsButton", "ViewLastButton", "InitButton"})
            QVERIFY2(!f.button(name)->isEnabled(), name);
        for (const char* name : {"SetDateItem", "TemperatureItem", "DownloadItem", "DumpAllItem"})
            QVERIFY2(!f.item(name)->isEnabled(), name);
        f.provideActivities();
        for (const char* name :
             {"LoggingButton", "DownloadButton", "DetailsButton", "ViewLastButton", "InitButton"})
            QVERIFY2(f.button(name)->isEnabled(), name);
        f.button("InitButton")->click();
        QCOMPARE(f.opened, QStringList({"factory"}));
    }

    // The queue outlives the panel: nothing is left pointing at a closed one.
    void destroyedPanelLeavesNoActions() {
        {
            PanelFixture f;
            QVERIFY(f.start());
        }
        PostRequest(Request::StatusPoll);
        PostRequest(Request::SetButtons);
        QVERIFY(QueueIsEmpty());
    }
};

QTEST_MAIN(TestMainHardening)
#include "test_main_hardening.moc"
