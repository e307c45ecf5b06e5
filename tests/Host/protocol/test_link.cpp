// Opening and closing the link, waking the logger and re-clocking the line.
#include "CommandLibrary.h"
#include "CommandRequests.h"
#include "Framing.h"
#include "LinkedLogger.h"
#include "ModalAnswerer.h"
#include "RequestQueue.h"

#include <QTemporaryFile>

using Fault = LoggerSimulator::Fault;

class TestLink : public QObject {
    Q_OBJECT

private slots:
    void init() { SetLinkWindows({}); }

    void linksAndSetsTheWaitLimit() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        QVERIFY(Session().PortOpenFlag);
        QCOMPARE(GetCommsTimeOut(), 2000);
        QCOMPARE(CommsLink()->BaudRate(), 19200);
    }

    void invalidPortDisablesItsEntry() {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, "OrvType1", "OrvType1");
        store.setValue("Comms/Device3", "/dev/no-such-logger-port");
        store.sync();
        qint16 disabled = 0;
        SetLinkWindows({.disablePortEntry = [&](qint16 port) { disabled = port; }});
        ModalAnswerer answerer;
        QVERIFY(!OpenLink(3, 19200, 1));
        QVERIFY(!Session().PortOpenFlag);
        QCOMPARE(disabled, qint16(3));
        QCOMPARE(answerer.count(), 1); // only the comms class's own box
        QCOMPARE(answerer.lastText(), QString("Invalid port number"));
    }

    // A device that is there but will not open keeps its port entry and is
    // reported with its cause, not as a logger that did not answer.
    void deviceThatWillNotOpenIsReported() {
        QTemporaryFile notAPort;
        QVERIFY(notAPort.open());
        QSettings store(QSettings::IniFormat, QSettings::UserScope, "OrvType1", "OrvType1");
        store.setValue("Comms/Device3", notAPort.fileName());
        store.sync();
        qint16 disabled = 0;
        QString device;
        qint16 error = 0;
        SetLinkWindows({.disablePortEntry = [&](qint16 port) { disabled = port; },
                        .portNotOpened =
                            [&](const QString& named, qint16 number) {
                                device = named;
                                error = number;
                            }});
        ModalAnswerer answerer;
        QVERIFY(!OpenLink(3, 19200, 1));
        QCOMPARE(disabled, qint16(0));
        QCOMPARE(device, notAPort.fileName());
        QCOMPARE(error, CommsError::NotASerialPort);
        QCOMPARE(Session().lastOpenError, CommsError::NotASerialPort);
        QCOMPARE(answerer.lastText(), QString("Invalid port number"));
    }

    void silentLoggerClosesThePort() {
        LinkedLogger logger;
        QVERIFY(logger.startSimulator());
        logger.sim.setFault(Fault::Silent);
        QVERIFY(!OpenLink(1, 19200, 1));
        QVERIFY(Session().PortOpenFlag); // the port itself opened: the logger did not answer
        // Closed: it can be opened again at once.
        QCOMPARE(CommsLink()->OpenComms(), qint16(0));
    }

    void theLinkWindowRunsTheHandshake() {
        LinkedLogger logger;
        QVERIFY(logger.startSimulator());
        int windows = 0;
        SetLinkWindows({.runLinkWindow = [&] {
            ++windows;
            return Logger::Handshake();
        }});
        QVERIFY(OpenLink(1, 19200, 1));
        QCOMPARE(windows, 1);
    }

    void modemWindowOutcomes() {
        LinkedLogger logger(true);
        QVERIFY(logger.startSimulator());
        NoticeRecorder recorder;
        SetLinkWindows({.runModemWindow = [] { return qint16(2); }});
        QVERIFY(!OpenLink(1, 19200, 2));
        SetLinkWindows({.runModemWindow = [] { return qint16(9); }});
        QVERIFY(!OpenLink(1, 19200, 2));
        QCOMPARE(recorder.texts(), QStringList({"Unhandled case from the modem form."}));
        SetLinkWindows({.runModemWindow = [] {
            QObject feedback;
            return qint16(CommsLink()->ConnectToModem("AT", "5550100", &feedback) == 0 ? 1 : 2);
        }});
        QVERIFY(OpenLink(1, 19200, 2));
        logger.sim.clearHostBytes();
        QVERIFY(CloseLink());
        QVERIFY(logger.wire().find("\x01n") == 0);
        QVERIFY(logger.wire().find("+++") != std::string::npos);
        QVERIFY(logger.wire().find("ATH\r") != std::string::npos);
    }

    void closeLinkSendsN() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        logger.sim.clearHostBytes();
        QVERIFY(CloseLink());
        QTRY_COMPARE(QByteArray::fromStdString(logger.wire()), QByteArray("\x01n"));
        QCOMPARE(CommsLink()->OpenComms(), qint16(0)); // the port was closed
    }

    void wakeLoggerRetriesUntilAwake() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        SetCommsTimeOut(200);
        logger.sim.setFault(Fault::PoweredDown);
        NoticeRecorder recorder;
        recorder.answers = {NoticeAnswer::Retry, NoticeAnswer::Retry};
        int asked = 0;
        recorder.beforeAnswer = [&] {
            if (++asked == 2)
                logger.sim.wake();
        };
        QVERIFY(WakeLogger());
        QCOMPARE(recorder.notices.size(), 2);
        const Notice& notice = recorder.notices.first();
        QCOMPARE(notice.title, QString("Orvane Instruments"));
        QCOMPARE(notice.buttons, NoticeButtons::RetryCancel);
        QCOMPARE(notice.icon, NoticeIcon::Warning);
        QVERIFY(notice.text.startsWith("The logger has powered itself down whilst waiting for a "
                                       "user response.\r\rTo continue"));
        QVERIFY(notice.text.endsWith("\rTo abort this operation and to unlink from the logger "
                                     "press 'Cancel'."));
    }

    void wakeLoggerCancel() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        SetCommsTimeOut(200);
        logger.sim.setFault(Fault::PoweredDown);
        NoticeRecorder recorder;
        QVERIFY(!WakeLogger());
        QCOMPARE(recorder.notices.size(), 1);
    }

    void baudRateChange() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        NoticeRecorder recorder;
        QCOMPARE(ChangeLinkBaudRate(9600), BaudChange::Changed);
        QCOMPARE(recorder.texts(), QStringList({"Will change to 9600."}));
        QCOMPARE(recorder.notices.first().title, QString("Orv"));
        QCOMPARE(CommsLink()->BaudRate(), 9600);
        QCOMPARE(logger.sim.baudRate(), 9600);
        QVERIFY(Logger::SendPulse()); // still linked at the new rate
    }

    void baudRateChangeWithoutTheDataBlockKeepsTheRate() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        SetCommsTimeOut(200);
        SetCommsNoticeEnabled(true);
        logger.sim.setFault(Fault::Silent);
        NoticeRecorder recorder;
        QCOMPARE(ChangeLinkBaudRate(9600), BaudChange::Refused);
        QCOMPARE(CommsLink()->BaudRate(), 19200);
        QCOMPARE(recorder.texts(), QStringList({"Set baud rate failed."}));
    }
};

QTEST_MAIN(TestLink)
#include "test_link.moc"
