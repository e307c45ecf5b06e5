// The request queue: order, capacity, one run at a time under re-entrancy,
// parked windows and failing actions.
#include "LinkedLogger.h"
#include "RequestQueue.h"

#include <QEventLoop>
#include <QTimer>
#include <stdexcept>

class TestRequestQueue : public QObject {
    Q_OBJECT

    QStringList log;
    int depth = 0;
    int deepest = 0;

    void registerLogging(qint16 code) {
        RegisterRequest(code, [this, code](qint16 argument) {
            ++depth;
            deepest = qMax(deepest, depth);
            log << QString("%1:%2").arg(code).arg(argument);
            --depth;
        });
    }

private slots:
    void init() {
        ResetQueue();
        log.clear();
        depth = deepest = 0;
        for (qint16 code = 1; code <= 38; ++code)
            RegisterRequest(code, nullptr);
    }

    void runsInOrderAndEmpties() {
        registerLogging(1);
        registerLogging(2);
        PostRequest(1, 7);
        PostRequest(2);
        QCOMPARE(log, QStringList({"1:7", "2:0"}));
        QVERIFY(QueueIsEmpty());
        QVERIFY(!QueueRunInProgress());
    }

    void unknownCodesAreTakenAndIgnored() {
        registerLogging(2);
        PostRequest(0);
        PostRequest(99);
        PostRequest(12);
        PostRequest(2, 1);
        QCOMPARE(log, QStringList({"2:1"}));
        QVERIFY(QueueIsEmpty());
    }

    // Posts made during an action append; the running loop takes them after.
    void reentrantPostsAppend() {
        registerLogging(5);
        registerLogging(2);
        RegisterRequest(9, [this](qint16) {
            ++depth;
            deepest = qMax(deepest, depth);
            log << "9 start";
            QTimer::singleShot(10, [] { PostRequest(5, 1); });
            QTimer::singleShot(20, [] { PostRequest(5, 2); });
            QEventLoop wait; // like a receive waiting with events
            QTimer::singleShot(100, &wait, &QEventLoop::quit);
            wait.exec();
            log << "9 end";
            --depth;
        });
        PostRequest(9);
        QCOMPARE(log, QStringList({"9 start", "9 end", "5:1", "5:2"}));
        QCOMPARE(deepest, 1);
    }

    // A poll timer posts only when the queue is empty: none pile up in a run.
    void pollsDoNotPileUp() {
        int polls = 0;
        RegisterRequest(2, [&](qint16) { ++polls; });
        RegisterRequest(9, [](qint16) {
            QEventLoop wait;
            QTimer::singleShot(600, &wait, &QEventLoop::quit);
            wait.exec();
        });
        QTimer poll;
        connect(&poll, &QTimer::timeout, [] {
            if (QueueIsEmpty())
                PostRequest(2);
        });
        poll.start(250);
        PostRequest(9);
        poll.stop();
        QCOMPARE(polls, 0);
    }

    void thirtyFirstRequestIsDropped() {
        registerLogging(3);
        RegisterRequest(9, [](qint16) {
            for (qint16 i = 0; i < 35; ++i)
                PostRequest(3, i);
        });
        PostRequest(9);
        QCOMPARE(log.size(), QueueCapacity - 1); // 9 itself holds the first place
        QCOMPARE(log.last(), QString("3:28"));
    }

    void parkedWindowShowsWhenTheRunEnds() {
        registerLogging(5);
        RegisterRequest(9, [this](qint16) {
            PostRequest(5, 1);
            ParkWindow([this] { log << "window"; });
            PostRequest(5, 2);
        });
        PostRequest(9);
        QCOMPARE(log, QStringList({"5:1", "5:2", "window"}));
        ParkWindow([this] { log << "idle window"; }); // idle: shown at once
        QCOMPARE(log.last(), QString("idle window"));
    }

    void failingActionReportsOnceAndTheRunGoesOn() {
        NoticeRecorder recorder;
        registerLogging(2);
        RegisterRequest(13, [](qint16) { throw std::runtime_error("Invalid property value"); });
        PostRequest(13);
        PostRequest(2);
        QCOMPARE(recorder.notices.size(), 1);
        QCOMPARE(recorder.notices.first().title, QString("Error"));
        QCOMPARE(recorder.notices.first().icon, NoticeIcon::Warning);
        QCOMPARE(recorder.notices.first().text,
                 QString("The following exception has occurred :\r0, Invalid property "
                         "value\rCurrent routine : 13.\r\rWill attempt to continue."));
        QCOMPARE(log, QStringList({"2:0"}));
    }

    void resetForgetsEverything() {
        registerLogging(2);
        RegisterRequest(9, [this](qint16) {
            PostRequest(2);
            ParkWindow([this] { log << "window"; });
            ResetQueue();
        });
        PostRequest(9);
        QVERIFY(log.isEmpty());
        QVERIFY(QueueIsEmpty());
    }
};

QTEST_MAIN(TestRequestQueue)
#include "test_requestqueue.moc"
