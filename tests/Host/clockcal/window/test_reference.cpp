// The reference measurement against the simulated logger: five readings
// averaged, failures left out, the post-measurement window, and buttons
// pressed while the window's own status poll is on the line.
#include "Controls.h"
#include "Framing.h"
#include "Link.h"
#include "PanelFixture.h"
#include "frmModem.h"
#include "frmReference.h"

#include <QComboBox>
#include <QTimer>

namespace {

// Runs `action` once the window shows a finished reading, as an operator
// would press a button then.
void WhenMeasured(frmReference* window, std::function<void()> action) {
    auto* timer = new QTimer(window);
    QObject::connect(timer, &QTimer::timeout, window, [window, timer, action] {
        if (!window->isVisible() || !Control<QPushButton>(window, "cmdRetake")->isEnabled())
            return;
        timer->deleteLater();
        timer->stop();
        action();
    });
    timer->start(20);
}

} // namespace

class TestReference : public QObject {
    Q_OBJECT

    std::unique_ptr<PanelFixture> m_fixture;
    frmReference* m_window = nullptr;

    bool start(bool modem = false) {
        m_fixture = std::make_unique<PanelFixture>(modem);
        if (!m_fixture->start({}, modem ? 2 : 1))
            return false;
        if (modem)
            QTimer::singleShot(300, [this] {
                auto* dialler = m_fixture->panel->findChild<frmModem*>();
                dialler->findChild<QComboBox*>("cboNumber")->setCurrentText("5550100");
                dialler->findChild<QPushButton*>("cmdDial")->click();
            });
        if (!m_fixture->link())
            return false;
        m_window = new frmReference(m_fixture->panel.get());
        return true;
    }

private slots:
    void cleanup() {
        m_fixture.reset();
        m_window = nullptr;
    }

    void averagesTheReadings_data() {
        QTest::addColumn<QList<int>>("readings"); // -1: a reply marked missing
        QTest::addColumn<bool>("silent");
        QTest::addColumn<qint32>("level");
        QTest::addColumn<QString>("shown");
        QTest::newRow("steady tone")
            << QList<int>{940, 941, 939, 940, 942} << false << 940 << "94.0dB.";
        QTest::newRow("sum 4702 rounds down")
            << QList<int>{940, 940, 940, 941, 941} << false << 940 << "94.0dB.";
        QTest::newRow("sum 4703 rounds up")
            << QList<int>{940, 940, 941, 941, 941} << false << 941 << "94.1dB.";
        QTest::newRow("one failure left out")
            << QList<int>{940, 940, -1, 940, 940} << false << 940 << "94.0dB.";
        QTest::newRow("every reply missing")
            << QList<int>{-1, -1, -1, -1, -1} << false << -1 << "-0.1dB.";
        QTest::newRow("silent logger") << QList<int>{} << true << -1 << "-0.1dB.";
    }
    void averagesTheReadings() {
        QFETCH(QList<int>, readings);
        QFETCH(bool, silent);
        QVERIFY(start());
        m_fixture->sim.model().queueSplReadings({readings.begin(), readings.end()});
        if (silent) {
            SetCommsTimeOut(50);
            m_fixture->sim.setFault(LoggerSimulator::Fault::Silent);
        }
        m_fixture->sim.clearHostBytes();
        QString shown;
        WhenMeasured(m_window, [this, &shown] {
            shown = Control<QLabel>(m_window, "lblLevel")->text();
            Control<QPushButton>(m_window, "cmdOK")->click();
        });
        QCOMPARE(m_window->runModal(), 0);
        QTEST(m_window->level, "level");
        QTEST(shown, "shown");
        const std::string wire = m_fixture->wire();
        QCOMPARE(std::count(wire.begin(), wire.end(), 's'), 5);
    }

    // Each showing measures afresh; Cancel and the close box go back.
    void eachShowingMeasuresAgain() {
        QVERIFY(start());
        m_fixture->sim.model().queueSplReadings({940, 940, 940, 940, 940});
        WhenMeasured(m_window, [this] { Control<QPushButton>(m_window, "cmdOK")->click(); });
        QCOMPARE(m_window->runModal(), 0);
        m_fixture->sim.model().queueSplReadings({912, 912, 912, 912, 912});
        WhenMeasured(m_window, [this] { m_window->close(); });
        QCOMPARE(m_window->runModal(), 1);
        QCOMPARE(m_window->level, 912);
        QVERIFY(!m_window->tmrReference().isActive());
    }

    // After logging the level can only be accepted; the usual window returns after.
    void postMeasurementKeepsCancelDisabled() {
        QVERIFY(start());
        m_window->setPostMeasurement(true);
        bool cancelDuringReading = true;
        QTimer::singleShot(100, m_window, [this, &cancelDuringReading] {
            cancelDuringReading = Control<QPushButton>(m_window, "cmdCancel")->isEnabled();
        });
        bool cancelAfter = true;
        QString okLine;
        bool cancelLineShown = true, removeLineShown = true;
        WhenMeasured(m_window, [&, this] {
            cancelAfter = Control<QPushButton>(m_window, "cmdCancel")->isEnabled();
            okLine = Control<QLabel>(m_window, "lblOK")->text();
            cancelLineShown = Control<QLabel>(m_window, "lblCancel")->isVisible();
            removeLineShown = Control<QLabel>(m_window, "lblRemove")->isVisible();
            m_window->close(); // refused: there is no going back
            QTimer::singleShot(50, m_window,
                               [this] { Control<QPushButton>(m_window, "cmdOK")->click(); });
        });
        QCOMPARE(m_window->runModal(), 0);
        QVERIFY(!cancelDuringReading);
        QVERIFY(!cancelAfter);
        QCOMPARE(okLine, QString("Select \"OK\" to use this reference level."));
        QVERIFY(!cancelLineShown);
        QVERIFY(!removeLineShown);
        m_window->setPostMeasurement(false);
        QVERIFY(Control<QPushButton>(m_window, "cmdCancel")->isEnabled());
        QVERIFY(!Control<QLabel>(m_window, "lblCancel")->isHidden());
        QVERIFY(!Control<QLabel>(m_window, "lblRemove")->isHidden());
        QCOMPARE(Control<QLabel>(m_window, "lblOK")->text(),
                 QString("Select \"OK\" to use this reference level and commence logging."));
    }

    // Over a modem every receive lets the window run: OK pressed while the
    // window's status poll waits for its answer closes the window only after it.
    void okDuringAPollClosesAfterIt() {
        QVERIFY(start(true));
        QVERIFY(m_fixture->panel->statusTimer()->isActive());
        bool shownAfterOk = false;
        WhenMeasured(m_window, [&, this] {
            m_fixture->sim.setLatencyMs(300);
            m_fixture->sim.clearHostBytes();
            QTimer::singleShot(100, m_window, [&, this] {
                Control<QPushButton>(m_window, "cmdOK")->click();
                shownAfterOk = m_window->isVisible();
            });
            QMetaObject::invokeMethod(&m_window->tmrReference(), "timeout");
        });
        QCOMPARE(m_window->runModal(), 0);
        QVERIFY(shownAfterOk);
        QVERIFY(m_fixture->wire().find('1') != std::string::npos);
        m_fixture->sim.setLatencyMs(0);
    }
};

QTEST_MAIN(TestReference)
#include "test_reference.moc"
