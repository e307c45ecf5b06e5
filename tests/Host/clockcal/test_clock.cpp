// The clock window: its running display, its spin buttons, the checks at OK
// and the date it sends to the simulated logger.
#include "ActivityWindows.h"
#include "MaskedEdit.h"
#include "PanelFixture.h"
#include "SpinButton.h"
#include "frmClock.h"

#include <QToolButton>

namespace {

QString Shown(const frmClock& clock) {
    return clock.mskDay->Text() + "/" + clock.mskMonth->Text() + "/" + clock.mskYear->Text() + " " +
           clock.mskHour->Text() + ":" + clock.mskMinute->Text() + ":" + clock.mskSecond->Text();
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
    }
    void runs() {
        QFETCH(LoggerDateTime, from);
        QVERIFY(start());
        m_clock->InitialiseOjects(from);
        QCOMPARE(m_clock->tmrClock.interval(), 1000);
        QMetaObject::invokeMethod(&m_clock->tmrClock, "timeout");
        QTEST(Shown(*m_clock), "after");
    }

    // An unset clock still shows a date the logger can hold; a field being
    // edited to something that is no date yet stops the display, never crashes it.
    void unsetAndHalfEditedClocks() {
        QVERIFY(start());
        m_clock->InitialiseOjects(UnsetDateTime());
        QCOMPARE(m_clock->mskYear->Text(), QStringLiteral("2250"));
        m_clock->mskMonth->setText("");
        QMetaObject::invokeMethod(&m_clock->tmrClock, "timeout");
        QCOMPARE(m_clock->mskSecond->Text(), QStringLiteral("59"));
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
            m_clock->mskDay->setText("30");
        if (field == "mskMonth")
            m_clock->mskMonth->setText("04");
        m_clock->show();
        auto* edit = m_clock->findChild<MaskedEdit*>(field);
        edit->setFocus();
        emit edit->entered();
        SpinButton* spin = field == "mskHour" ? m_clock->spnTime : m_clock->spnDate;
        (up ? spin->upButton : spin->downButton)->click();
        if (field == "mskDay") // 01 April down
            QCOMPARE(m_clock->mskDay->Text(), QStringLiteral("30"));
        QTEST(Shown(*m_clock), "after");
    }

    void monthToFebruaryCutsTheDay() {
        QVERIFY(start());
        m_clock->InitialiseOjects({2003, 3, 31, 12, 0, 0});
        m_clock->show();
        m_clock->mskMonth->setFocus();
        emit m_clock->mskMonth->entered();
        m_clock->spnDate->downButton->click();
        QCOMPARE(Shown(*m_clock), QStringLiteral("28/02/2003 12:00:00"));
    }

    // OK re-checks every field; then the date goes out with Sunday as 7.
    void setsTheLoggersClock() {
        QVERIFY(start());
        QVERIFY(m_fixture->link());
        m_fixture->item("SetDateItem")->trigger();
        QTRY_VERIFY(m_clock->isVisible());
        m_clock->InitialiseOjects({2003, 6, 15, 9, 30, 0});
        m_clock->tmrClock.stop();
        m_clock->mskHour->setText("24");
        m_clock->cmdOK->click();
        QVERIFY(m_clock->isVisible());
        m_clock->mskHour->setText("09");
        m_fixture->sim.clearHostBytes();
        m_clock->cmdOK->click();
        QTRY_VERIFY(!m_clock->isVisible());
        QTRY_VERIFY(m_fixture->wire().find(std::string("\x07\x07\x06\x0f\x09\x1e\x00", 7)) !=
                    std::string::npos);
        QCOMPARE(m_fixture->sim.model().clock().day, 15);
    }
};

QTEST_MAIN(TestClock)
#include "test_clock.moc"
