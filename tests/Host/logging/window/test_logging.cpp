// A logging run as an operator starts and stops it from the control panel,
// against the simulated logger: the checks of Proceed, the summary, both
// reference readings and the bytes the logger is sent.
#include "ActivityWindows.h"
#include "BufferTransfer.h"
#include "CommandLibrary.h"
#include "Controls.h"
#include "LoggingForm.h"
#include "MaskedEdit.h"
#include "PanelFixture.h"
#include "frmReference.h"
#include "frmSettings.h"
#include "frmSummary.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>

namespace {

// Accepts (or cancels) the reference window once its reading is shown, and
// notes where it was on the screen.
class ReferenceAnswerer : public QObject {
public:
    ReferenceAnswerer(frmReference* window, bool accept) : m_window(window), m_accept(accept) {
        connect(&m_poll, &QTimer::timeout, this, [this] {
            if (m_window->isVisible() && Control<QPushButton>(m_window, "cmdOK")->isEnabled()) {
                shownAt = m_window->frameGeometry();
                (m_accept ? Control<QPushButton>(m_window, "cmdOK")
                          : Control<QPushButton>(m_window, "cmdCancel"))
                    ->click();
            }
        });
        m_poll.start(20);
    }

    QRect shownAt;

private:
    frmReference* m_window;
    bool m_accept;
    QTimer m_poll;
};

void SetField(MaskedEdit* field, int value) {
    field->setText(QString::number(value));
}

} // namespace

class TestLogging : public QObject {
    Q_OBJECT

    std::unique_ptr<PanelFixture> m_fixture;
    LoggingForm* m_logging = nullptr;
    frmSummary* m_summary = nullptr;
    frmReference* m_reference = nullptr;

    void openLogging() {
        m_fixture->button("LoggingButton")->click();
        QTRY_VERIFY(m_logging->isVisible());
    }
    bool sent(const std::string& bytes) const {
        return m_fixture->wire().find(bytes) != std::string::npos;
    }

private slots:
    void init() {
        m_fixture = std::make_unique<PanelFixture>();
        QVERIFY(m_fixture->start());
        CreateActivityWindows(*m_fixture->panel);
        m_logging = m_fixture->panel->findChild<LoggingForm*>();
        m_summary = m_fixture->panel->findChild<frmSummary*>();
        m_reference = m_fixture->panel->findChild<frmReference*>();
        QVERIFY(m_logging && m_summary && m_reference);
        m_fixture->sim.model().setLevel(940);
        QVERIFY(m_fixture->link());
    }
    void cleanup() {
        m_fixture.reset();
        QSettings store = PanelFixture::store();
        store.clear();
    }

    // A one-shot run from 10:15 the next day: started, left to log for an
    // hour of the logger's clock, stopped, and its buffer downloaded.
    void wholeRunSendsTheSetupAndBothReferences() {
        m_fixture->sim.model().setClock({2004, 3, 1, 10, 0, 0});
        openLogging();
        Control<QLineEdit>(m_logging, "TitleMask")->setText("Site A");
        Control<QComboBox>(m_logging, "MasterTimerCombo")->setCurrentIndex(int(TimerKind::OneShot));
        for (int item = 0; item < 2; ++item) {
            SetField(Control<MaskedEdit>(m_logging, QString("OneDayMask%1").arg(item)), item + 1);
            SetField(Control<MaskedEdit>(m_logging, QString("OneMonthMask%1").arg(item)), 3);
            SetField(Control<MaskedEdit>(m_logging, QString("OneYearMask%1").arg(item)), 2004);
            SetField(Control<MaskedEdit>(m_logging, QString("OneHourMask%1").arg(item)), 10);
            SetField(Control<MaskedEdit>(m_logging, QString("OneMinuteMask%1").arg(item)), 15);
        }
        Control<QPushButton>(m_logging, "LoggingButton")->click();
        QTRY_VERIFY(m_summary->isVisible());
        QVERIFY(!Control<QLabel>(m_summary, "lblLife")->text().isEmpty());
        m_fixture->sim.clearHostBytes();
        {
            ReferenceAnswerer accept(m_reference, true);
            Control<QPushButton>(m_summary, "cmdOK")->click();
            QTRY_COMPARE(Session().mode, qint16(2)); // waiting for its timer
        }
        LoggingSetup expected;
        expected.master = OneShotTimer({2004, 3, 1, 10, 15, 0}, {2004, 3, 2, 10, 15, 0});
        expected.title = "Site A";
        expected.preReference = 940;
        QVERIFY(sent("\x01Q"));
        QVERIFY(sent("\x03" + SetupBlock(expected).toStdString()));

        m_fixture->sim.model().setClock({2004, 3, 1, 11, 0, 0});
        MessageAnswerer answers({MessageAnswerer::Answer::Confirm});
        ReferenceAnswerer accept(m_reference, true);
        m_fixture->button("LoggingButton")->click();
        QTRY_COMPARE(Session().mode, qint16(0));
        QTRY_VERIFY(sent("\x01p"));
        QCOMPARE(answers.seen.size(), 2);
        QCOMPARE(answers.seen.at(1).title, QStringLiteral("Logging stopped"));
        QCOMPARE(answers.seen.at(1).text,
                 QStringLiteral("Logging has been terminated.\n\nPlease attach a reference signal "
                                "to the\nmicrophone for the post-reference measurement.\n\nClick "
                                "OK to continue..."));
        QVERIFY(!Control<QPushButton>(m_reference, "cmdCancel")->isHidden());
        const BufferRecord record = ProgramRead(0);
        QCOMPARE(record.preReference, qint16(940));
        QCOMPARE(record.postReference, qint16(940));

        // The new buffer downloads with its title and both references.
        QTemporaryDir folder;
        TransferRequest request = TransferRequest::OneBuffer(0, record, folder.filePath("run"));
        request.checkLoggerAwake = false;
        QVERIFY(BufferTransfer(request).run().succeeded());
        QFile statistics(folder.filePath("run_Sta.csv"));
        QVERIFY(statistics.open(QIODevice::ReadOnly));
        const QByteArray header = statistics.read(4096);
        QVERIFY(header.contains("\"Site A"));
        QVERIFY(header.contains("\"Pre-measurement Reference\",\"\",\"\",\"\",94\r\n"));
        QVERIFY(header.contains("\"Post-measurement Reference\",\"\",\"\",\"\",94\r\n"));
        // 10:15, 10:30, 10:45 and 11:00 were recorded.
        for (const char* time : {"\"10:15\",", "\"10:30\",", "\"10:45\",", "\"11:00\","})
            QVERIFY2(header.contains(time), time);
    }

    void proceedChecks_data() {
        QTest::addColumn<int>("master");
        QTest::addColumn<int>("sub");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("daily inside hourly") << 1 << 2 << "Timer Error"
                                             << "Invalid timer combination.";
        QTest::newRow("daily inside daily") << 2 << 2 << "Timer Error"
                                            << "Invalid timer combination.";
        QTest::newRow("hourly 30 to 30") << 1 << 0 << "Timer Error"
                                         << "Invalid master timer information.";
        QTest::newRow("sub hourly 30 to 30") << 2 << 1 << "Timer Error!"
                                             << "Invalid sub timer information.";
        QTest::newRow("one shot in the past")
            << 4 << 0 << "Timer Error!"
            << "If these settings are used,\nthen you will not get any data!";
    }
    void proceedChecks() {
        QFETCH(int, master);
        QFETCH(int, sub);
        m_fixture->sim.model().setClock({2004, 3, 3, 12, 0, 0});
        openLogging();
        Control<QComboBox>(m_logging, "MasterTimerCombo")->setCurrentIndex(master);
        Control<QComboBox>(m_logging, "SubTimerCombo")->setCurrentIndex(sub);
        for (int item = 0; item < 2; ++item) {
            SetField(Control<MaskedEdit>(m_logging, QString("HourlyStartMinuteMask%1").arg(item)),
                     30);
            SetField(Control<MaskedEdit>(m_logging, QString("HourlyEndMinuteMask%1").arg(item)),
                     30);
            SetField(Control<MaskedEdit>(m_logging, QString("OneDayMask%1").arg(item)), item + 1);
            SetField(Control<MaskedEdit>(m_logging, QString("OneMonthMask%1").arg(item)), 3);
            SetField(Control<MaskedEdit>(m_logging, QString("OneYearMask%1").arg(item)), 2004);
        }
        m_fixture->sim.clearHostBytes();
        MessageAnswerer answers;
        Control<QPushButton>(m_logging, "LoggingButton")->click();
        QTRY_COMPARE(answers.seen.size(), 1);
        QTEST(answers.seen.at(0).title, "title");
        QTEST(answers.seen.at(0).text, "text");
        QVERIFY(!sent("\x01Q"));
        QVERIFY(m_logging->isVisible());
        QTRY_VERIFY(Control<QPushButton>(m_logging, "LoggingButton")->isEnabled());
    }

    void clockThatIsNoDateStopsATimedStart_data() {
        QTest::addColumn<int>("fault");
        QTest::newRow("no answer") << int(sim::Fault::Silent);
        // 1 January 1996 with every bit flipped: 255, 254, 254, 255, 255, 255.
        QTest::newRow("no date") << int(sim::Fault::Corrupt);
    }
    // Without the logger's time a timed run cannot be checked: the operator
    // is told, nothing is sent, and the window can be used again.
    void clockThatIsNoDateStopsATimedStart() {
        QFETCH(int, fault);
        m_fixture->sim.model().setClock({1996, 1, 1, 0, 0, 0});
        openLogging();
        Control<QComboBox>(m_logging, "MasterTimerCombo")->setCurrentIndex(2);
        m_fixture->sim.clearHostBytes();
        MessageAnswerer answers; // the comms notice too, when it is on
        m_fixture->sim.setFault(sim::Fault(fault), 1);
        Control<QPushButton>(m_logging, "LoggingButton")->click();
        m_fixture->sim.setFault(sim::Fault::None);
        QTRY_VERIFY(!answers.seen.isEmpty());
        QCOMPARE(answers.seen.last().title, QStringLiteral("Timer Error!"));
        QCOMPARE(answers.seen.last().text,
                 QStringLiteral("If these settings are used,\nthen you will not get any data!"));
        QVERIFY(Control<QPushButton>(m_logging, "LoggingButton")->isEnabled());
        QVERIFY(Control<QGroupBox>(m_logging, "MasterTimerFrame")->isEnabled());
        QVERIFY(!m_summary->isVisible());
        QVERIFY(!sent("\x01Q"));
    }

    // Each window is placed at the size it is shown at: the summary across
    // the middle of the logging window with the bottom edges level, the
    // reference reading centred over the summary.
    void summaryAndReferenceArePlacedAtTheirShownSize() {
        openLogging();
        // Low on the screen, so that the taller summary has room above it.
        const QRect screen = m_logging->screen()->geometry();
        m_logging->move(m_logging->x(), screen.bottom() - m_logging->frameGeometry().height());
        Control<QPushButton>(m_logging, "LoggingButton")->click();
        QTRY_VERIFY(m_summary->isVisible());
        QVERIFY(m_summary->frameGeometry().height() < screen.height());
        const QRect logging = m_logging->frameGeometry();
        const QRect summary = m_summary->frameGeometry();
        QVERIFY2(qAbs(summary.center().x() - logging.center().x()) <= 1,
                 qPrintable(QString("summary %1, logging %2")
                                .arg(summary.center().x())
                                .arg(logging.center().x())));
        QCOMPARE(summary.bottom(), logging.bottom());
        ReferenceAnswerer cancel(m_reference, false);
        Control<QPushButton>(m_summary, "cmdOK")->click();
        QTRY_VERIFY(cancel.shownAt.isValid());
        QVERIFY((cancel.shownAt.center() - summary.center()).manhattanLength() <= 2);
        QTRY_VERIFY(m_summary->isVisible());
    }

    // The reading after a run, in its own shape, is centred over the panel.
    void postReferenceIsCentredAtItsShownSize() {
        QVERIFY(m_fixture->sim.model().startLogging(SetupBlock(LoggingSetup{}).toStdString()));
        m_fixture->panel->main_get_status();
        MessageAnswerer answers({MessageAnswerer::Answer::Confirm});
        ReferenceAnswerer accept(m_reference, true);
        m_fixture->button("LoggingButton")->click();
        QTRY_VERIFY(accept.shownAt.isValid());
        const QPoint panel = m_fixture->panel->frameGeometry().center();
        QVERIFY((accept.shownAt.center() - panel).manhattanLength() <= 2);
    }

    // The day follows its month, so no impossible date goes to the logger.
    void oneShotDayFollowsItsMonth() {
        openLogging();
        Control<QComboBox>(m_logging, "MasterTimerCombo")->setCurrentIndex(4);
        QApplication::setActiveWindow(m_logging);
        SetField(Control<MaskedEdit>(m_logging, QString("OneYearMask%1").arg(1)), 2003);
        MaskedEdit* month = Control<MaskedEdit>(m_logging, QString("OneMonthMask%1").arg(1));
        month->setFocus();
        month->selectAll();
        QTest::keyClicks(month, "2");
        QTest::keyClick(month, Qt::Key_Tab);
        QCOMPARE(Control<MaskedEdit>(m_logging, QString("OneDayMask%1").arg(1))->Text().trimmed(),
                 QStringLiteral("28"));
        const TimerSpec timer = m_logging->BuildTimer(TimerKind::OneShot, 0);
        QCOMPARE(timer.end.day, qint16(28));
    }

    void customSetIsDescribed() {
        m_fixture->panel->findChild<frmSettings*>()->presets.index = -1;
        openLogging();
        QVERIFY(Control<QComboBox>(m_logging, "ParameterCombo")->isHidden());
        QCOMPARE(Control<QLabel>(m_logging, "ParameterDataLabel")->text(),
                 QStringLiteral(" <Custom Settings> 15 minute intervals, A weighted, fast time. "));
    }

    // A stop the logger never answered is not reported as done, and no
    // post-reference is sent into a run that may still be going.
    void unansweredStopIsNotReported() {
        QVERIFY(m_fixture->sim.model().startLogging(SetupBlock(LoggingSetup{}).toStdString()));
        m_fixture->panel->main_get_status();
        QCOMPARE(Session().mode, qint16(1));
        MessageAnswerer answers({MessageAnswerer::Answer::Confirm});
        m_fixture->sim.setFault(sim::Fault::Silent);
        m_fixture->sim.clearHostBytes();
        m_fixture->button("LoggingButton")->click();
        const auto reported = [&answers] {
            return std::any_of(answers.seen.cbegin(), answers.seen.cend(), [](const auto& seen) {
                return seen.title == QStringLiteral("Logging not stopped");
            });
        };
        QTRY_VERIFY(reported());
        QVERIFY(!sent("\x01p"));
        QVERIFY(!m_reference->isVisible());
    }
};

QTEST_MAIN(TestLogging)
#include "test_logging.moc"
