// The transaction shapes against the simulator: success, each failure text,
// the failure values, and what lands in Session().ReplyBuffer.
#include "CommandLibrary.h"
#include "LinkedLogger.h"

using Fault = LoggerSimulator::Fault;

class TestTransactions : public QObject {
    Q_OBJECT

private slots:
    void init() { SetCommsNoticeEnabled(true); }

    void actionAndQueries() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        NoticeRecorder recorder;
        QVERIFY(Logger::SendPulse());
        QCOMPARE(Session().ReplyBuffer, QByteArray("k"));
        logger.sim.model().setLevel(734);
        QCOMPARE(Logger::GetSpl(), qint16(734));
        QCOMPARE(Logger::GetBuffers(), qint16(logger.sim.model().bufferCount()));
        QCOMPARE(Logger::GetRange(), qint16(logger.sim.model().range()));
        QVERIFY(Logger::GetUpdate().value_or(FailedUpdate()).level == 734);
        QCOMPARE(Session().ReplyBuffer.size(), 9);
        QVERIFY(recorder.notices.isEmpty());
    }

    void silentLoggerGivesFailureValues() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        SetCommsTimeOut(200);
        logger.sim.setFault(Fault::Silent);
        NoticeRecorder recorder;
        QVERIFY(!Logger::SendPulse()); // an Action reports nothing
        QVERIFY(Session().ReplyBuffer.isEmpty());
        QVERIFY(recorder.notices.isEmpty());
        QCOMPARE(Logger::GetBuffers(), qint16(-1));
        QCOMPARE(Logger::GetSpl(), qint16(-1));
        QVERIFY(!Logger::GetUpdate());
        QCOMPARE(Logger::GetInformation(), FailedInformation());
        QVERIFY(IsUnset(Logger::GetDateTime()));
        QCOMPARE(Logger::GetLoggingMode(), qint16(-1));
        QCOMPARE(recorder.texts(),
                 QStringList({"Get buffers failed.", "Get SPL failed.", "Get Update failed.",
                              "Get Information failed.", "Get date/time failed."}));
        QCOMPARE(recorder.notices.first().title, QString("Fatal Communications Error"));
        QVERIFY(recorder.notices.first().messageWindow);
    }

    void failureNoticeOnlyWhenTheOptionIsOn() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        SetCommsTimeOut(200);
        logger.sim.setFault(Fault::Silent);
        SetCommsNoticeEnabled(false);
        NoticeRecorder recorder;
        QCOMPARE(Logger::GetBuffers(), qint16(-1));
        QVERIFY(recorder.notices.isEmpty());
    }

    void byteSettingWithEcho() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        NoticeRecorder recorder;
        logger.sim.clearHostBytes();
        QVERIFY(Logger::SetPowerDown(1));
        QVERIFY(logger.sim.model().powerDownDisabled());
        QCOMPARE(QByteArray::fromStdString(logger.wire()), QByteArray("\x01R\x03\x01\x02", 5));
        QVERIFY(Logger::SetRange(2));
        QCOMPARE(logger.sim.model().range(), 2);
        QVERIFY(recorder.notices.isEmpty());
    }

    void byteSettingFailureTexts() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        SetCommsTimeOut(200);
        NoticeRecorder recorder;
        logger.sim.setFault(Fault::WrongEcho);
        QVERIFY(!Logger::SetPowerDown(0));
        logger.sim.setFault(Fault::Silent);
        logger.sim.clearHostBytes();
        QVERIFY(!Logger::SetRange(1));
        // Without a ready character nothing but the letter went out.
        QCOMPARE(QByteArray::fromStdString(logger.wire()), QByteArray("\x01L", 2));
        QCOMPARE(recorder.texts(), QStringList({"Set Power Down\rWrong return char. failed.",
                                                "Set Range\rData not sent failed."}));
    }

    void setDateTimeRoundTrip() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        NoticeRecorder recorder;
        const LoggerDateTime when{2004, 2, 29, 23, 59, 30};
        QVERIFY(Logger::SetDateTime(7, when)); // a Sunday
        const LoggerDateTime read = Logger::GetDateTime();
        QCOMPARE(read.year, when.year);
        QCOMPARE(read.month, when.month);
        QCOMPARE(read.day, when.day);
        QVERIFY(read.hour == 23 || read.hour == 0);
        // A year the byte cannot carry is refused before anything is sent.
        logger.sim.clearHostBytes();
        QVERIFY(!Logger::SetDateTime(1, {1990, 1, 1, 0, 0, 0}));
        QVERIFY(logger.wire().empty());
        QCOMPARE(recorder.texts(), QStringList({"Set date/time failed."}));
    }

    void setDateTimeFailureTexts() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        SetCommsTimeOut(200);
        NoticeRecorder recorder;
        logger.sim.setFault(Fault::WrongEcho);
        QVERIFY(!Logger::SetDateTime(1, {2005, 1, 3, 10, 0, 0}));
        logger.sim.setFault(Fault::Silent);
        QVERIFY(!Logger::SetDateTime(1, {2005, 1, 3, 10, 0, 0}));
        QCOMPARE(recorder.texts(),
                 QStringList({"Set date/time bad return code failed.", "Set date/time failed."}));
    }

    void serialNumberNeedsO() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        NoticeRecorder recorder;
        QVERIFY(Logger::SetSerialNumber(4051234));
        QCOMPARE(logger.sim.model().serialNumber(), 4051234);
        QVERIFY(!Logger::SetSerialNumber(-5)); // cannot be sent as a long
        QCOMPARE(recorder.texts(), QStringList({"Set serial number failed."}));
    }

    // "W" is skipped only against a weighting the logger really holds.
    void timeWeightingCache() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        logger.sim.model().setTimeWeighting(1);
        QCOMPARE(Logger::GetParameters().timeCode, qint16(1));
        QCOMPARE(Session().CurrentTimeWeighting, qint16(1));
        logger.sim.clearHostBytes();
        QVERIFY(Logger::SetTimeWeighting(1));
        QVERIFY(logger.wire().empty());
        QVERIFY(Logger::SetTimeWeighting(0));
        QCOMPARE(logger.sim.model().timeWeighting(), 0);
        QVERIFY(Logger::SetTimeWeighting(1)); // must be sent again
        QCOMPARE(logger.sim.model().timeWeighting(), 1);
        QVERIFY(Logger::SetFrequency(7)); // any code but 1 is C, sent as 0
        QCOMPARE(logger.sim.model().frequencyWeighting(), 0);
        QCOMPARE(Session().CurrentFrequencyWeighting, qint16(0));
    }

    void stopLoggingWaitsFiveSeconds() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        SetCommsTimeOut(2000);
        logger.sim.setFault(Fault::Late, 3000);
        QVERIFY(Logger::StopLogging());
        QCOMPARE(GetCommsTimeOut(), 2000);
    }

    void postReferenceNotTakenIsFFFF() {
        LinkedLogger logger;
        QVERIFY(logger.link());
        logger.sim.clearHostBytes();
        QVERIFY(Logger::SendPostReference(-1));
        QVERIFY(logger.wire().find(std::string("\x03\xFF\xFF", 3)) != std::string::npos);
    }

    void wholeMemoryDownload() {
        LinkedLogger logger;
        QVERIFY(logger.startSimulator());
        logger.sim.model().fillMemory();
        QVERIFY(OpenLink(1, 19200, 1));
        const qint16 blocks = Logger::InitialiseDownload(8);
        QCOMPARE(int(blocks), logger.sim.model().memoryBlockCount());
        for (int i = 0; i < blocks; ++i) {
            const QByteArray block = Logger::ReadBlock();
            QCOMPARE(block, QByteArray::fromStdString(logger.sim.model().memoryBlock(i)));
        }
    }

    void programReadDecodesTheRecord() {
        LinkedLogger logger;
        QVERIFY(logger.startSimulator());
        logger.sim.model().fillMemory();
        QVERIFY(OpenLink(1, 19200, 1));
        const BufferRecord record = ProgramRead(0);
        QCOMPARE(record,
                 DecodeBufferRecord(QByteArray::fromStdString(logger.sim.model().bufferRecord(0))));
        QVERIFY(record.title.startsWith("Day survey"));
        SetCommsTimeOut(200);
        logger.sim.setFault(Fault::Silent);
        QCOMPARE(ProgramRead(0), EmptyBufferRecord());
    }

    void lastResults() {
        LinkedLogger logger;
        QVERIFY(logger.startSimulator());
        QVERIFY(OpenLink(1, 19200, 1));
        logger.sim.model().clearBuffers();
        QCOMPARE(Logger::GetLastResults().status, Logger::LastResults::NoData);
        logger.sim.model().fillMemory();
        const Logger::LastResults results = Logger::GetLastResults();
        QCOMPARE(results.status, Logger::LastResults::Available);
        QCOMPARE(results.record.size(), MemoryBlockLength);
    }
};

QTEST_MAIN(TestTransactions)
#include "test_transactions.moc"
