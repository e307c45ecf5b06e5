// The clock window: its running display, its spin buttons, the checks at OK
// and the date it sends to the simulated logger.
#include "ActivityWindows.h"
#include "Controls.h"
#include "ExchangeGuard.h"
#include "Link.h"
#include "MaskedEdit.h"
#include "PanelFixture.h"
#include "SpinButton.h"
#include "frmClock.h"

#include <QToolButton>

namespace {

QString Shown(const frmClock& clock) {
    return Control<MaskedEdit>(&clock, "mskDay")->Text() + "/" +
           Control<MaskedEdit>(&clock, "mskMonth")->Text() + "/" +
           Control<MaskedEdit>(&clock, "mskYear")->Text() + " " +
           Control<MaskedEdit>(&clock, "mskHour")->Text() + ":" +
           Control<MaskedEdit>(&clock, "mskMinute")->Text() + ":" +
           Control<MaskedEdit>(&clock, "mskSecond")->Text();
}

} // namespace

class TestClock : public QObject {
    Q_OBJECT

    std::unique_ptr<PanelFixture> m_fixture;
    frmClock* m_clock = nullptr;

    bool start() {
        if (!m_fixture->start())
            return false;
        CreateActivityWindows(*m_fixture->panel);
        m_clock = m_fixture->panel->findChild<frmClock*>();
        return m_clock != nullptr;
    }

private slots:
    void init() { m_fixture = std::make_unique<PanelFixture>(); }
    void cleanup() {
        m_fixture.reset();
        m_clock = nullptr;
    }

    void runs_data() {
        QTest::addColumn<LoggerDateTime>("from");
        QTest::addColumn<QString>("after");
        QTest::newRow("month end")
            << LoggerDateTime{2003, 4, 30, 23, 59, 59} << "01/05/2003 00:00:00";
        QTest::newRow("leap day") << LoggerDateTime{2004, 2, 28, 23, 59, 59}
                                  << "29/02/2004 00:00:00";
        QTest::newRow("no leap day")
            << LoggerDateTime{2003, 2, 28, 23, 59, 59} << "01/03/2003 00:00:00";
        QTest::newRow("last year wraps")
            << LoggerDateTime{2250, 12, 31, 23, 59, 59} << "01/01/1996 00:00:00";
        // The logger's calendar has these days; the real one does not.
        QTest::newRow("century leap day")
            << LoggerDateTime{2100, 2, 28, 23, 59, 59} << "29/02/2100 00:00:00";
        QTest::newRow("after the century leap day")
            << LoggerDateTime{2200, 2, 29, 23, 59, 59} << "01/03/2200 00:00:00";
    }
    void runs() {
        QFETCH(LoggerDateTime, from);
        QVERIFY(start());
        m_clock->InitialiseOjects(from);
        QCOMPARE(Control<QTimer>(m_clock, "tmrClock")->interval(), 1000);
        QMetaObject::invokeMethod(Control<QTimer>(m_clock, "tmrClock"), "timeout");
        QTEST(Shown(*m_clock), "after");
    }

    // An unset clock still shows a date the logger can hold; a field being
    // edited to something that is no date yet stops the display, never crashes it.
    void unsetAndHalfEditedClocks() {
        QVERIFY(start());
        m_clock->InitialiseOjects(UnsetDateTime());
        QCOMPARE(Control<MaskedEdit>(m_clock, "mskYear")->Text(), QStringLiteral("2250"));
        Control<MaskedEdit>(m_clock, "mskMonth")->setText("");
        QMetaObject::invokeMethod(Control<QTimer>(m_clock, "tmrClock"), "timeout");
        QCOMPARE(Control<MaskedEdit>(m_clock, "mskSecond")->Text(), QStringLiteral("59"));
    }

    void spinsWrap_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("after");
        QTest::newRow("year up") << "mskYear" << true << "30/04/1996 10:20:30";
        QTest::newRow("day down") << "mskDay" << false << "30/04/2250 10:20:30";
        QTest::newRow("month down fits the day") << "mskMonth" << false << "30/03/2250 10:20:30";
        QTest::newRow("hour up") << "mskHour" << true << "30/04/2250 11:20:30";
    }
    void spinsWrap() {
        QFETCH(QString, field);
        QFETCH(bool, up);
        QVERIFY(start());
        m_clock->InitialiseOjects({2250, 4, 1, 10, 20, 30});
        if (field != "mskDay")
            Control<MaskedEdit>(m_clock, "mskDay")->setText("30");
        if (field == "mskMonth")
            Control<MaskedEdit>(m_clock, "mskMonth")->setText("04");
        m_clock->show();
        auto* edit = m_clock->findChild<MaskedEdit*>(field);
        edit->setFocus();
        emit edit->entered();
        SpinButton* spin = field == "mskHour" ? Control<SpinButton>(m_clock, "spnTime")
                                              : Control<SpinButton>(m_clock, "spnDate");
        (up ? spin->upButton : spin->downButton)->click();
        if (field == "mskDay") // 01 April down
            QCOMPARE(Control<MaskedEdit>(m_clock, "mskDay")->Text(), QStringLiteral("30"));
        QTEST(Shown(*m_clock), "after");
    }

    void monthToFebruaryCutsTheDay() {
        QVERIFY(start());
        m_clock->InitialiseOjects({2003, 3, 31, 12, 0, 0});
        m_clock->show();
        Control<MaskedEdit>(m_clock, "mskMonth")->setFocus();
        emit Control<MaskedEdit>(m_clock, "mskMonth")->entered();
        Control<SpinButton>(m_clock, "spnDate")->downButton->click();
        QCOMPARE(Shown(*m_clock), QStringLiteral("28/02/2003 12:00:00"));
    }

    // OK re-checks every field; then the date goes out with its weekday,
    // Sunday as 7, and 29 February 2100 and 2200 with the logger's own.
    void setsTheLoggersClock_data() {
        QTest::addColumn<LoggerDateTime>("date");
        QTest::addColumn<int>("weekday"); // Monday = 1 ... Sunday = 7
        QTest::newRow("a Sunday") << LoggerDateTime{2003, 6, 15, 9, 30, 0} << 7;
        QTest::newRow("a Monday") << LoggerDateTime{2003, 6, 16, 9, 30, 0} << 1;
        // 28 February 2100 is a Sunday, 28 February 2200 a Friday.
        QTest::newRow("29 February 2100") << LoggerDateTime{2100, 2, 29, 9, 30, 0} << 1;
        QTest::newRow("29 February 2200") << LoggerDateTime{2200, 2, 29, 9, 30, 0} << 6;
    }
    void setsTheLoggersClock() {
        QFETCH(LoggerDateTime, date);
        QFETCH(int, weekday);
        QVERIFY(start());
        QVERIFY(m_fixture->link());
        m_fixture->item("SetDateItem")->trigger();
        QTRY_VERIFY(m_clock->isVisible());
        m_clock->InitialiseOjects(date);
        Control<QTimer>(m_clock, "tmrClock")->stop();
        Control<MaskedEdit>(m_clock, "mskHour")->setText("24");
        Control<QPushButton>(m_clock, "cmdOK")->click();
        QVERIFY(m_clock->isVisible());
        Control<MaskedEdit>(m_clock, "mskHour")->setText("09");
        m_fixture->sim.clearHostBytes();
        Control<QPushButton>(m_clock, "cmdOK")->click();
        QTRY_VERIFY(!m_clock->isVisible());
        const std::string sent{
            '\x01',         'D',    '\x03', char(weekday), char(date.year - 1996), char(date.month),
            char(date.day), '\x09', '\x1e', '\x00'};
        QTRY_VERIFY(m_fixture->wire().find(sent) != std::string::npos);
        QCOMPARE(m_fixture->sim.model().clock().day, int(date.day));
        QCOMPARE(m_fixture->sim.model().weekday(), weekday % 7);
    }

    // A status poll that fails leaves the clock as last read: the window
    // opens on that time, not on the unset record.
    void opensOnTheLastTimeRead() {
        m_fixture->sim.model().setClock({2024, 5, 6, 7, 8, 0});
        QVERIFY(start());
        QVERIFY(m_fixture->link());
        m_fixture->panel->statusTimer()->stop();
        SetCommsTimeOut(300);
        m_fixture->sim.setCommandFault({sim::CommandFault::Kind::Ignore, '1', -1, 1});
        m_fixture->poll();
        m_fixture->item("SetDateItem")->trigger();
        QTRY_VERIFY(m_clock->isVisible());
        QCOMPARE(Shown(*m_clock).left(16), QStringLiteral("06/05/2024 07:08"));
    }

    // The display runs only while the window is on the screen: not when its
    // showing gave way to another window parked in the same run.
    void runsOnlyWhileShown() {
        QVERIFY(start());
        QVERIFY(m_fixture->link());
        bool otherShown = false;
        {
            ExchangeScope exchange; // a run in progress: the windows wait for its end
            m_fixture->item("SetDateItem")->trigger();
            ParkWindow([&otherShown] { otherShown = true; });
        }
        QTRY_VERIFY(otherShown);
        QVERIFY(!m_clock->isVisible());
        QVERIFY(!Control<QTimer>(m_clock, "tmrClock")->isActive());
        m_fixture->item("SetDateItem")->trigger();
        QTRY_VERIFY(m_clock->isVisible());
        QVERIFY(Control<QTimer>(m_clock, "tmrClock")->isActive());
        m_clock->hide();
        QVERIFY(!Control<QTimer>(m_clock, "tmrClock")->isActive());
    }
};

QTEST_MAIN(TestClock)
#include "test_clock.moc"
