// The calibration window: its three modes, the stored reference values, the
// entry's limits, and the calibrations as they go over the wire to the
// simulated logger, including a verdict that never comes.
#include "Controls.h"
#include "ExchangeGuard.h"
#include "HostSettings.h"
#include "LinkedLogger.h"
#include "MaskedEdit.h"
#include "PanelFixture.h"
#include "ShownText.h"
#include "SpinButton.h"
#include "SysCalForm.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QToolButton>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values)
        bytes += char(value);
    return bytes;
}

} // namespace

class TestSysCal : public QObject {
    Q_OBJECT

    std::unique_ptr<PanelFixture> m_fixture;
    SysCalForm* m_form = nullptr;

    bool start() {
        if (!m_fixture->start())
            return false;
        m_form = new SysCalForm(m_fixture->panel.get());
        return true;
    }
    bool linkAndOpen(qint16 mode, const QString& entry) {
        if (!m_fixture->link())
            return false;
        m_form->open(mode);
        if (!QTest::qWaitFor([this] { return m_form->isVisible(); }))
            return false;
        Control<MaskedEdit>(m_form, "ReferenceText")->selectAll();
        QTest::keyClicks(Control<MaskedEdit>(m_form, "ReferenceText"),
                         entry); // the point typed as an operator does
        m_fixture->sim.clearHostBytes();
        return true;
    }

private slots:
    void init() {
        QSettings store = PanelFixture::store();
        store.clear();
        m_fixture = std::make_unique<PanelFixture>();
    }
    void cleanup() {
        m_fixture.reset();
        m_form = nullptr;
        SetCommsNoticeEnabled(false);
    }

    void modes_data() {
        QTest::addColumn<qint16>("mode");
        QTest::addColumn<QString>("stored"); // empty: nothing stored
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("entryCaption");
        QTest::addColumn<float>("lower");
        QTest::addColumn<float>("upper");
        QTest::addColumn<QString>("entry");
        QTest::newRow("system, first use") << qint16(0) << ""
                                           << "System Calibration..."
                                           << "Reference Level :" << 60.0f << 120.0f << " 94.0";
        QTest::newRow("system, stored") << qint16(0) << "101.5"
                                        << "System Calibration..."
                                        << "Reference Level :" << 60.0f << 120.0f << "101.5";
        QTest::newRow("system, junk") << qint16(0) << "loud"
                                      << "System Calibration..."
                                      << "Reference Level :" << 60.0f << 120.0f << " 94.0";
        QTest::newRow("system, beyond the limit")
            << qint16(0) << "130.0"
            << "System Calibration..."
            << "Reference Level :" << 60.0f << 120.0f << " 94.0";
        QTest::newRow("temperature, first use") << qint16(1) << ""
                                                << "Temperature Calibration..."
                                                << "Temperature :" << 5.0f << 99.0f << " 20.0";
        QTest::newRow("temperature, stored") << qint16(1) << "7.5"
                                             << "Temperature Calibration..."
                                             << "Temperature :" << 5.0f << 99.0f << " 07.5";
        QTest::newRow("temperature, junk") << qint16(1) << "2x"
                                           << "Temperature Calibration..."
                                           << "Temperature :" << 5.0f << 99.0f << " 20.0";
        QTest::newRow("factory, stored") << qint16(2) << "88.0"
                                         << "Factory System Calibration..."
                                         << "Reference Level :" << 60.0f << 120.0f << " 88.0";
    }
    void modes() {
        QFETCH(qint16, mode);
        QFETCH(QString, stored);
        QVERIFY(start());
        if (!stored.isEmpty())
            HostSettings::Write(mode == 1 ? HostSettings::TempCal : HostSettings::SysCal,
                                HostSettings::Key::Reference, stored);
        m_form->initialise(mode);
        QTEST(m_form->windowTitle(), "caption");
        QTEST(Control<QLabel>(m_form, "TitleLabel")->text(), "entryCaption");
        QTEST(m_form->lowerLimit(), "lower");
        QTEST(m_form->upperLimit(), "upper");
        QTEST(Control<MaskedEdit>(m_form, "ReferenceText")->Text(), "entry");
        QCOMPARE(Control<QLabel>(m_form, "Sys1Label")->isHidden(), mode == 1);
        QCOMPARE(Control<QLabel>(m_form, "Temp1Label")->isHidden(), mode != 1);
        QCOMPARE(Control<MaskedEdit>(m_form, "ReferenceText")->accessibleName() + " :",
                 Control<QLabel>(m_form, "TitleLabel")->text());
    }

    void spins_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("after");
        QTest::newRow("up to the limit") << "119.9" << true << "120.0";
        QTest::newRow("not above it") << "120.0" << true << "120.0";
        QTest::newRow("not below the lower") << " 60.0" << false << " 60.0";
        QTest::newRow("no number stays") << "" << true << "";
    }
    void spins() {
        QFETCH(QString, from);
        QFETCH(bool, up);
        QVERIFY(start());
        m_form->initialise(SysCalForm::SystemMode);
        Control<MaskedEdit>(m_form, "ReferenceText")->setText(from);
        (up ? Control<SpinButton>(m_form, "ReferenceSpin")->upButton
            : Control<SpinButton>(m_form, "ReferenceSpin")->downButton)
            ->click();
        QTEST(Control<MaskedEdit>(m_form, "ReferenceText")->Text(), "after");
    }

    // A level beyond the limit, typed and left with Tab, is corrected with the
    // message and keeps the focus.
    void leavingOutOfRangeKeepsTheFocus() {
        QVERIFY(start());
        MessageAnswerer answerer;
        m_form->initialise(SysCalForm::SystemMode);
        m_form->show();
        QApplication::setActiveWindow(m_form);
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        Control<MaskedEdit>(m_form, "ReferenceText")->setFocus();
        Control<MaskedEdit>(m_form, "ReferenceText")->selectAll();
        QTest::keyClicks(Control<MaskedEdit>(m_form, "ReferenceText"), "125.0");
        QTest::keyClick(Control<MaskedEdit>(m_form, "ReferenceText"), Qt::Key_Tab);
        QTRY_COMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen[0].title, QStringLiteral("Invalid Number Read"));
        QCOMPARE(Control<MaskedEdit>(m_form, "ReferenceText")->Text(), QStringLiteral("120.0"));
        QApplication::setActiveWindow(m_form); // back from the message
        QTRY_VERIFY(Control<MaskedEdit>(m_form, "ReferenceText")->hasFocus());
    }

    void calibrates_data() {
        QTest::addColumn<qint16>("mode");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("level"); // what the logger measures, tenths of a dB
        QTest::addColumn<std::string>("sent");
        QTest::addColumn<QString>("message"); // the message window's title, if any
        QTest::newRow("system passes")
            << qint16(0) << "93.8" << 940 << Bytes({1, 'S', 3, 0x03, 0xAA, 2}) << "";
        QTest::newRow("system fails")
            << qint16(0) << "94.0" << 400 << Bytes({1, 'S', 3, 0x03, 0xAC, 2}) << "Orv";
        QTest::newRow("factory, after the wake check")
            << qint16(2) << "114.0" << 1140 << Bytes({1, '/', 2, 1, 't', 3, 0x04, 0x74, 2}) << "";
        QTest::newRow("temperature")
            << qint16(1) << "21.5" << 940 << Bytes({1, '/', 2, 1, 'K', 3, 0x00, 0xD7, 2}) << "";
    }
    void calibrates() {
        QFETCH(qint16, mode);
        QFETCH(QString, entry);
        QFETCH(int, level);
        QFETCH(std::string, sent);
        QFETCH(QString, message);
        QVERIFY(start());
        MessageAnswerer answerer;
        m_fixture->sim.model().setLevel(level);
        QVERIFY(linkAndOpen(mode, entry));
        const qint32 linkTimeOut = GetCommsTimeOut();
        m_fixture->panel->statusTimer()->stop(); // no poll between the bytes looked for
        Control<QPushButton>(m_form, "CalibrateButton")->click();
        QTRY_VERIFY(!m_form->isVisible());
        QVERIFY2(m_fixture->wire().find(sent) != std::string::npos, "the command and its value");
        QCOMPARE(answerer.seen.value(0).title, message);
        if (!message.isEmpty())
            QCOMPARE(answerer.seen[0].text,
                     ShownText("System calibration failed.\r\rPlease ensure that a steady "
                               "reference\rtone is applied to the microphone.\r\rAll changes "
                               "cancelled."));
        QCOMPARE(GetCommsTimeOut(), linkTimeOut);
        QVERIFY(Session().linked);
        const QString section = mode == 1 ? HostSettings::TempCal : HostSettings::SysCal;
        QCOMPARE(HostSettings::Read(section, HostSettings::Key::Reference, {}), entry);
        if (mode == 1)
            QCOMPARE(m_fixture->text("TemperatureBox"), QStringLiteral("21.5"));
    }

    // A logger that takes the value and then says nothing: the asks end, the
    // operator is told whatever the comms notice option says, the stored level
    // stays as it was, and the wake check decides whether the link stays.
    void silentVerdict_data() {
        QTest::addColumn<LoggerSimulator::Fault>("fault");
        QTest::addColumn<bool>("commsNotice");
        QTest::addColumn<bool>("stillLinked");
        QTest::newRow("awake, no verdict") << LoggerSimulator::Fault::NoVerdict << false << true;
        QTest::newRow("awake, no verdict, comms notice on")
            << LoggerSimulator::Fault::NoVerdict << true << true;
        QTest::newRow("gone, operator gives up") << LoggerSimulator::Fault::Silent << true << false;
    }
    void silentVerdict() {
        QFETCH(LoggerSimulator::Fault, fault);
        QFETCH(bool, commsNotice);
        QVERIFY(start());
        HostSettings::Write(HostSettings::SysCal, HostSettings::Key::Reference, "101.5");
        NoticeRecorder notices; // answers the wake question with Cancel
        MessageAnswerer answerer;
        SetCommsNoticeEnabled(commsNotice);
        QVERIFY(linkAndOpen(SysCalForm::SystemMode, "94.0"));
        m_form->verdictPoll.askWait = 200;
        const qint32 linkTimeOut = GetCommsTimeOut();
        m_fixture->panel->statusTimer()->stop();
        m_fixture->sim.setFault(fault);
        QElapsedTimer elapsed;
        elapsed.start();
        Control<QPushButton>(m_form, "CalibrateButton")->click();
        QTRY_VERIFY(!m_form->isVisible());
        QVERIFY(elapsed.elapsed() < 10000);
        const std::string wire = m_fixture->wire();
        const std::size_t command = wire.find("\x01S");
        const std::size_t wakeCheck = wire.find("\x01/", command);
        QVERIFY(command != std::string::npos && wakeCheck != std::string::npos);
        QCOMPARE(std::count(wire.begin() + std::ptrdiff_t(command),
                            wire.begin() + std::ptrdiff_t(wakeCheck), '\x02'),
                 std::ptrdiff_t(m_form->verdictPoll.asks));
        QCOMPARE(answerer.seen.value(0).title, QStringLiteral("Orv"));
        QCOMPARE(answerer.seen.value(0).text,
                 ShownText("System calibration failed.\r\rThe logger gave no result within 2 "
                           "seconds.\r\rPlease check the cable to the logger, and that a "
                           "steady\rreference tone is applied to the microphone, then "
                           "calibrate again."));
        QCOMPARE(notices.texts().contains("System calibration failed."), commsNotice);
        QCOMPARE(HostSettings::Read(HostSettings::SysCal, HostSettings::Key::Reference, {}),
                 QStringLiteral("101.5"));
        QCOMPARE(GetCommsTimeOut(), linkTimeOut);
        QFETCH(bool, stillLinked);
        QCOMPARE(Session().linked, stillLinked);
    }

    // The verdict is awaited with the event loop running all along, as the
    // desktop and a screen reader need, and with nothing on the window that
    // could cancel or restart the calibration halfway.
    void verdictWaitKeepsTheWindowAnswering() {
        QVERIFY(start());
        MessageAnswerer answerer;
        QVERIFY(linkAndOpen(SysCalForm::SystemMode, "94.0"));
        m_form->verdictPoll = {500, 3};
        m_fixture->panel->statusTimer()->stop();
        m_fixture->sim.setFault(LoggerSimulator::Fault::NoVerdict);
        QList<qint64> ticks;
        bool controlsEnabled = false;
        QElapsedTimer clock;
        clock.start();
        QTimer events;
        connect(&events, &QTimer::timeout, this, [&] {
            if (!ExchangeInProgress())
                return;
            ticks << clock.elapsed();
            controlsEnabled = controlsEnabled ||
                              Control<QPushButton>(m_form, "CancelButton")->isEnabled() ||
                              Control<QPushButton>(m_form, "CalibrateButton")->isEnabled();
        });
        events.start(20);
        Control<QPushButton>(m_form, "CalibrateButton")->click();
        events.stop();
        QVERIFY2(ticks.size() >= 10, "the event loop ran during the wait");
        qint64 longestGap = 0;
        for (int i = 1; i < ticks.size(); ++i)
            longestGap = qMax(longestGap, ticks[i] - ticks[i - 1]);
        QVERIFY2(longestGap < 250, qPrintable(QString::number(longestGap)));
        QVERIFY(ticks.last() - ticks.first() >= 1200); // the asks kept their length
        QVERIFY(!controlsEnabled);
        QTRY_VERIFY(!m_form->isVisible());
        QVERIFY(Control<QPushButton>(m_form, "CancelButton")->isEnabled());
    }
};

QTEST_MAIN(TestSysCal)
#include "test_syscal.moc"
