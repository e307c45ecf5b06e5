// The details window and the last-results window against the simulated
// logger: the running buffer described, the life estimate and its limit, no
// buffer at all, and the last record's levels under their percentile indices.
#include "BufferRecordLayout.h"
#include "Controls.h"
#include "MemoryBlocks.h"
#include "PanelFixture.h"
#include "frmDetails.h"
#include "frmResults.h"

#include <QDate>
#include <QLocale>

class TestDetails : public QObject {
    Q_OBJECT

    std::unique_ptr<PanelFixture> m_fixture;
    frmDetails* m_details = nullptr;
    frmResults* m_results = nullptr;

    bool start() {
        m_fixture = std::make_unique<PanelFixture>();
        if (!m_fixture->start())
            return false;
        m_details = new frmDetails(m_fixture->panel.get());
        m_results = new frmResults(m_fixture->panel.get());
        frmResults* results = m_results;
        m_fixture->panel->setActivities(
            {.openClock = {},
             .calibrateTemperature = {},
             .openCalibration = {},
             .openLogging = {},
             .showLastResults =
                 [results](const QByteArray& record) { results->ShowResults(record); },
             .stopLogging = {},
             .updateBuffers = {},
             .showRawLevel = {},
             .refreshCurrentSettings = {},
             .openFactory = {}});
        return true;
    }
    QString text(QWidget* window, const char* name) const {
        return window->findChild<QLabel*>(name)->text();
    }

private slots:
    void cleanup() { m_fixture.reset(); }

    void describesTheRunningBuffer_data() {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("leqMode");
        QTest::addColumn<int>("battery");
        QTest::addColumn<QString>("life");
        QTest::addColumn<QString>("limitedBy");
        QTest::newRow("battery first") << 15 << 0 << 124 << "9 days"
                                       << "Limited by battery.";
        QTest::newRow("memory first, Leq throughout") << 1 << 1 << 124 << "21 hours"
                                                      << "Limited by memory.";
        QTest::newRow("battery not read") << 1 << 1 << 0xFFFF << "21 hours"
                                          << "Limited by memory.";
    }
    void describesTheRunningBuffer() {
        QFETCH(int, interval);
        QFETCH(int, leqMode);
        QFETCH(int, battery);
        QVERIFY(start());
        sim::buffer_record::Settings settings;
        settings.title = "Night survey";
        settings.intervalMinutes = interval;
        settings.leqMode = leqMode;
        QVERIFY(m_fixture->sim.model().startLogging(sim::buffer_record::encode(settings)));
        m_fixture->sim.model().setBattery(battery);
        QVERIFY(m_fixture->link());
        QVERIFY(m_fixture->button("DetailsButton")->isEnabled());
        m_fixture->button("DetailsButton")->click();
        QTRY_VERIFY(m_details->isVisible());
        QVERIFY(!m_fixture->button("DetailsButton")->isEnabled());
        QCOMPARE(text(m_details, "lblTitleData").trimmed(), QString("Night survey"));
        QCOMPARE(text(m_details, "lblLoggingStoppedData"), QString("Logging not yet completed."));
        QVERIFY(!m_details->findChild<QLabel*>("lblLoggingStoppedHeading")->isEnabled());
        QVERIFY(m_details->findChild<QLabel*>("lblLoggingStartedHeading")->isEnabled());
        QTEST(Control<QLabel>(m_details, "lblLife")->text(), "life");
        QTEST(Control<QLabel>(m_details, "lblLimitedBy")->text(), "limitedBy");
        QCOMPARE(m_details->tmrSummary().interval(), m_fixture->panel->statusTimer()->interval());
        QVERIFY(m_details->tmrSummary().isActive());
        Control<QPushButton>(m_details, "cmdClose")->click();
        QVERIFY(!m_details->isVisible());
        QVERIFY(!m_details->tmrSummary().isActive());
        QVERIFY(m_fixture->button("DetailsButton")->isEnabled());
    }

    // No buffer to describe: the operator is told, and no buffer number that
    // is not there goes to the logger.
    void noBufferIsSaidSo() {
        QVERIFY(start());
        QVERIFY(m_fixture->link());
        m_fixture->sim.clearHostBytes();
        MessageAnswerer answers;
        PostRequest(Request::ShowDetails);
        QTRY_COMPARE(answers.seen.size(), 1);
        QCOMPARE(answers.seen.first().text, QString("There are currently no buffers"));
        QVERIFY(!m_details->isVisible());
        QCOMPARE(m_fixture->wire().find('B'), std::string::npos);
    }

    // The levels come with "o" alone: their headings name the indices of the
    // run the main window read when it linked, logging or waiting on timers.
    void showsTheLastResults_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("logging") << int(LoggerModel::kModeLogging);
        QTest::newRow("timers on") << int(LoggerModel::kModeTimersOn);
    }
    void showsTheLastResults() {
        QFETCH(int, mode);
        QVERIFY(start());
        sim::buffer_record::Settings settings;
        settings.percentiles = {1, 5, 10, 33, 50, 90, 95, 99};
        sim::StatisticalValues values;
        values.leq = 652;
        values.lmax = 871;
        values.lmin = 401;
        values.percentiles = {800, 750, 700, 650, 600, 500, 450, 420};
        values.temperature = -35;
        values.battery = 118;
        values.overload = true;
        const sim::DateTime stamp{2026, 3, 4, 13, 5, 9};
        QVERIFY(m_fixture->sim.model().addBuffer(sim::buffer_record::encode(settings),
                                                 {sim::statisticalBlock(stamp, values)}));
        m_fixture->sim.model().setMode(mode);
        QVERIFY(m_fixture->link());
        m_fixture->sim.clearHostBytes();
        QVERIFY(m_fixture->button("ViewLastButton")->isEnabled());
        m_fixture->button("ViewLastButton")->click();
        QTRY_VERIFY(m_results->isVisible());
        const std::string wire = m_fixture->wire();
        QVERIFY(wire.find("\x01o") != std::string::npos);
        for (const char letter : {'b', 'B'})
            QCOMPARE(wire.find({'\x01', letter}), std::string::npos);
        QStringList shown, headings;
        for (const char* name :
             {"lblLeq", "lblLmax", "lblLmin", "lblBattery", "lblTemp", "lblOvlDValue", "lblTime"})
            shown << text(m_results, name);
        QCOMPARE(shown, QStringList({"65.2", "87.1", "40.1", "11.8", "-3.5", "Yes", "13:05:09"}));
        QCOMPARE(text(m_results, "lblDate"),
                 QLocale::system().toString(QDate(2026, 3, 4), QLocale::ShortFormat));
        shown.clear();
        for (int i = 0; i < 8; ++i) {
            headings << Control<QLabel>(m_results, QString("lblLIndexHeading%1").arg(i))->text();
            shown << Control<QLabel>(m_results, QString("lblLIndexData%1").arg(i))->text();
        }
        QCOMPARE(headings, QStringList({"L1", "L5", "L10", "L33", "L50", "L90", "L95", "L99"}));
        QCOMPARE(shown,
                 QStringList({"80.0", "75.0", "70.0", "65.0", "60.0", "50.0", "45.0", "42.0"}));
        Control<QPushButton>(m_results, "cmdClose")->click();
        QVERIFY(!m_results->tmrResults().isActive());
        QVERIFY(m_fixture->button("ViewLastButton")->isEnabled());
    }
};

QTEST_MAIN(TestDetails)
#include "test_details.moc"
