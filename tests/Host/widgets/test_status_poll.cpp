// A window's own poll timer: runs only while the window is shown, follows the
// main window's status timer (state and interval), and posts the status poll
// only when the request queue is empty.
#include "RequestQueue.h"
#include "StatusPollTimer.h"

#include <QDialog>
#include <QTest>

class TestStatusPoll : public QObject {
    Q_OBJECT

    QTimer statusTimer;
    int polls = 0;

private slots:
    void init() {
        polls = 0;
        statusTimer.setInterval(30);
        statusTimer.start();
        ResetQueue();
        RegisterRequest(2, [this](qint16) { ++polls; });
    }
    void cleanup() { RegisterRequest(2, nullptr); }

    void runsOnlyWhileShown() {
        QDialog window;
        StatusPollTimer poll(&window, &statusTimer, PostStatusPollIfIdle);
        QTest::qWait(200);
        QCOMPARE(polls, 0); // never shown
        QVERIFY(!poll.timer().isActive());

        window.show();
        QVERIFY(poll.timer().isActive());
        QCOMPARE(poll.timer().interval(), 30);
        QTRY_VERIFY(polls >= 3);

        window.hide();
        QVERIFY(!poll.timer().isActive());
        const int whenHidden = polls;
        QTest::qWait(200);
        QCOMPARE(polls, whenHidden);

        window.show(); // shown again: polling again
        QTRY_VERIFY(polls > whenHidden);
    }

    void followsTheStatusTimer() {
        QDialog window;
        StatusPollTimer poll(&window, &statusTimer, PostStatusPollIfIdle);
        statusTimer.stop();
        window.show();
        QVERIFY(!poll.timer().isActive()); // polling is off (unlinked, or asking to unlink)
        QTest::qWait(150);
        QCOMPARE(polls, 0);

        window.hide();
        statusTimer.start(30);
        window.show(); // looked at again on every show
        QVERIFY(poll.timer().isActive());

        statusTimer.setInterval(125); // the update rate changed: taken at the next tick
        QTRY_COMPARE(poll.timer().interval(), 125);

        statusTimer.stop(); // stopped: the next tick stops this one, and does not poll
        QTRY_VERIFY(!poll.timer().isActive());
        const int afterStop = polls;
        QTest::qWait(300);
        QCOMPARE(polls, afterStop);
    }

    // A window shown already when its timer is made starts at once.
    void windowAlreadyShown() {
        QDialog window;
        window.show();
        int ticks = 0;
        StatusPollTimer poll(&window, &statusTimer, [&ticks] { ++ticks; });
        QVERIFY(poll.timer().isActive());
        QTRY_VERIFY(ticks >= 2);
    }

    // While a run is in progress, ticks add nothing, so polls never pile up.
    void nothingPostedDuringARun() {
        QDialog window;
        StatusPollTimer poll(&window, &statusTimer, PostStatusPollIfIdle);
        window.show();
        bool ran = false;
        RegisterRequest(28, [&ran](qint16) {
            QTest::qWait(300); // a long exchange that lets the event loop run
            ran = true;
        });
        QTRY_VERIFY(polls > 0); // ticking
        const int beforeRun = polls;
        PostRequest(28);
        QVERIFY(ran);
        // Not run in between, and none appended to run after it.
        QCOMPARE(polls, beforeRun);
        RegisterRequest(28, nullptr);
    }
};

QTEST_MAIN(TestStatusPoll)
#include "test_status_poll.moc"
