#include "CommandLibrary.h"

#include "Convert.h"
#include "EventWait.h"
#include "ExchangeGuard.h"
#include "Framing.h"
#include "Link.h"
#include "Notices.h"
#include "Transactions.h"

namespace {

constexpr qint32 StopLoggingTimeOut = 5000;
constexpr qint32 StartLoggingTimeOut = 15000;

qint16 WeightingCode(qint16 code) {
    return code == 1 ? 1 : 0;
}

// Restores the comms wait limit when a command that needs its own is done.
class TimeOutScope {
public:
    explicit TimeOutScope(qint32 milliseconds) : m_saved(GetCommsTimeOut()) {
        SetCommsTimeOut(milliseconds);
    }
    ~TimeOutScope() { SetCommsTimeOut(m_saved); }

private:
    qint32 m_saved;
};

// A verdict that never came is reported once the exchange is over, so that
// the status behind the notice keeps polling.
Logger::CalibrationVerdict Calibration(const QByteArray& letter, const QString& name, qint16 tenths,
                                       Logger::CalibrationPoll poll) {
    const auto verdict = [&] {
        ExchangeScope exchange;
        SendCommand(letter);
        SendData(SignedWordToBytes(tenths)); // not examined: the verdict tells
        // The logger measures for a while before it answers; one that never
        // does must not hold the program for good. The window keeps answering
        // the desktop and a screen reader meanwhile.
        TimeOutScope wait(poll.askWait);
        for (int ask = 0; ask < poll.asks; ++ask) {
            if (!RequestReplyWithEvents(1))
                continue;
            if (Session().ReplyBuffer == "T")
                return Logger::CalibrationVerdict::Passed;
            if (Session().ReplyBuffer == "t")
                return Logger::CalibrationVerdict::Failed;
        }
        return Logger::CalibrationVerdict::Silent;
    }();
    if (verdict == Logger::CalibrationVerdict::Silent)
        ReportCommsFailure(name);
    return verdict;
}

} // namespace

namespace Logger {

bool SendPulse() {
    return ActionTransaction("/");
}

bool Handshake() {
    ExchangeScope exchange;
    SendCommand("/");
    return RequestReplyWithEvents(1) && Session().ReplyBuffer == "k";
}

LoggerDateTime GetDateTime() {
    if (!RecordQuery("d", "Get date/time", 6))
        return UnsetDateTime();
    return ReadDateTime(Session().ReplyBuffer, 1);
}

bool SetDateTime(qint16 dayOfWeek, const LoggerDateTime& value) {
    const auto bytes = DateTimeToBytes(value);
    if (!bytes || dayOfWeek < 1 || dayOfWeek > 7) {
        ReportCommsFailure("Set date/time"); // a date the logger cannot hold is not sent
        return false;
    }
    ExchangeScope exchange;
    SendCommand("D");
    if (!SendData(char(dayOfWeek) + *bytes)) {
        ReportCommsFailure("Set date/time");
        return false;
    }
    if (!RequestReply(1)) {
        ReportCommsFailure("Set date/time no return code");
        return false;
    }
    if (Session().ReplyBuffer != "D") {
        ReportCommsFailure("Set date/time bad return code");
        return false;
    }
    return true;
}

bool SetPowerDown(qint16 code) {
    return ByteSettingWithEcho("R", "Set Power Down", code);
}

bool SetFrequency(qint16 code) {
    const qint16 sent = WeightingCode(code);
    const bool ok = ByteSettingWithEcho("F", "Set frequency", sent);
    Session().CurrentFrequencyWeighting = ok ? sent : -1;
    return ok;
}

bool SetTimeWeighting(qint16 code) {
    const qint16 sent = WeightingCode(code);
    if (sent == Session().CurrentTimeWeighting)
        return true;
    // Keep the cache true after a set, so that a later press is not skipped
    // against a value the logger no longer holds.
    const bool ok = ByteSettingWithEcho("W", "Set Time Weighting", sent);
    Session().CurrentTimeWeighting = ok ? sent : -1;
    return ok;
}

bool SetRange(qint16 index) {
    return ByteSettingWithEcho("L", "Set Range", index);
}

qint16 GetRange() {
    return ByteQuery("l", "Get range");
}

bool SetSerialNumber(qint32 serialNumber) {
    const auto bytes = LongToBytes(serialNumber);
    bool ok = false;
    if (bytes) {
        ExchangeScope exchange;
        SendCommand("I");
        const bool sent = SendData(*bytes);
        ok = RequestReply(1) && sent && Session().ReplyBuffer == "O";
    }
    if (!ok)
        ReportCommsFailure("Set serial number");
    return ok;
}

qint16 GetBuffers() {
    return ByteQuery("b", "Get buffers");
}

qint16 ClearBuffer() {
    return ActionTransaction("C") ? qint16(quint8(Session().ReplyBuffer.at(0))) : qint16(-1);
}

qint16 GetSpl() {
    return WordQuery("s", "Get SPL");
}

qint16 GetRawSpl() {
    return WordQuery("z", "Get Raw SPL");
}

std::optional<UpdateRecord> GetUpdate() {
    if (!RecordQuery("1", "Get Update", UpdateLength))
        return std::nullopt;
    return DecodeUpdate(Session().ReplyBuffer);
}

InformationRecord GetInformation() {
    if (!RecordQuery("2", "Get Information", InformationLength))
        return FailedInformation();
    return DecodeInformation(Session().ReplyBuffer);
}

ParametersRecord GetParameters() {
    const ParametersRecord record = RecordQuery("3", "Get Parameters", ParametersLength)
                                        ? DecodeParameters(Session().ReplyBuffer)
                                        : FailedParameters();
    Session().CurrentFrequencyWeighting = record.frequencyCode;
    Session().CurrentTimeWeighting = record.timeCode;
    return record;
}

qint16 InitialiseDownload(qint16 buffer) {
    if (!SettingTransaction("#", QByteArray(1, char(buffer & 0xFF)), 2)) {
        ReportCommsFailure("Initialise download");
        return -1;
    }
    return ReadWord(Session().ReplyBuffer, 1);
}

QByteArray ReadBlock() {
    if (!RecordQuery("$", QString(), MemoryBlockLength))
        return {};
    return Session().ReplyBuffer;
}

bool SendPostReference(qint16 tenths) {
    // "Not taken" travels as FF FF, the same bits as -1.
    return SettingTransaction("p", SignedWordToBytes(tenths), 1);
}

bool StartLogging(const QByteArray& setupBlock) {
    // The logger takes a while to set a run up before it answers.
    TimeOutScope wait(StartLoggingTimeOut);
    return SettingTransaction("Q", setupBlock, 1);
}

bool StopLogging() {
    TimeOutScope wait(StopLoggingTimeOut);
    return ActionTransaction("q");
}

qint16 GetLoggingMode() {
    if (!RecordQuery("h", QString(), 1))
        return -1;
    return qint16(quint8(Session().ReplyBuffer.at(0)) & 3);
}

bool ResetLogger() {
    return ActionTransaction("g");
}

bool SwitchBuffers() {
    return ActionTransaction("X");
}

FilterConstants GetFilters() {
    ExchangeScope exchange;
    SendCommand("<");
    FilterConstants filters;
    if (RequestReply(1))
        filters.a = qint16(ReadByte(Session().ReplyBuffer, 1));
    if (RequestReply(1))
        filters.b = qint16(ReadByte(Session().ReplyBuffer, 1));
    return filters;
}

bool SetFilters(quint8 a, quint8 b) {
    ExchangeScope exchange;
    SendCommand(">");
    const bool sentA = SendData(QByteArray(1, char(a)));
    const bool sentB = SendData(QByteArray(1, char(b)));
    return sentA && sentB;
}

bool SetLoggerBaudRate(qint32 baudRate) {
    const auto bytes = WordToBytes(baudRate);
    if (!bytes)
        return false;
    ExchangeScope exchange;
    SendCommand("U");
    const bool sent = SendData(*bytes);
    RequestReply(1); // not examined: the logger may switch before it answers
    return sent;
}

void ClearOverload() {
    CommandOnly("v");
}

void Unlink() {
    CommandOnly("n");
}

CalibrationVerdict CalibrateSystem(qint16 tenths, CalibrationPoll poll) {
    return Calibration("S", "System calibration", tenths, poll);
}

CalibrationVerdict CalibrateFactory(qint16 tenths, CalibrationPoll poll) {
    return Calibration("t", "Factory calibration", tenths, poll);
}

bool CalibrateTemperature(qint16 tenths) {
    return SettingTransaction("K", SignedWordToBytes(tenths), 1);
}

LastResults GetLastResults() {
    LastResults results;
    ExchangeScope exchange;
    SendCommand("o");
    if (!RequestReply(1))
        return results;
    if (Session().ReplyBuffer.at(0) == 0) {
        results.status = LastResults::NoData;
    } else if (RequestReply(MemoryBlockLength)) {
        results.status = LastResults::Available;
        results.record = Session().ReplyBuffer;
    }
    return results;
}

// The logger gathers the histogram before its first count can be asked for.
constexpr int HistogramGatherPause = 50;

int GetHistogram(HistogramCounts& counts, const std::function<void(int bin)>& reading) {
    counts.fill(0);
    ExchangeScope exchange;
    SendCommand("x");
    WaitWithEvents(HistogramGatherPause);
    for (int bin = 1; bin <= HistogramBins; ++bin) {
        if (reading)
            reading(bin);
        int tries = 0;
        while (!RequestReply(2))
            if (++tries == HistogramBinTries)
                return bin;
        counts[std::size_t(bin)] = ReadWord(Session().ReplyBuffer, 1);
    }
    return 0;
}

} // namespace Logger

std::optional<BufferRecord> TryProgramRead(qint16 buffer) {
    if (!SettingTransaction("B", QByteArray(1, char(buffer & 0xFF)), BufferRecordLength)) {
        ReportCommsFailure("Program read");
        return std::nullopt;
    }
    return DecodeBufferRecord(Session().ReplyBuffer);
}

BufferRecord ProgramRead(qint16 buffer) {
    return TryProgramRead(buffer).value_or(EmptyBufferRecord());
}

bool WakeLogger() {
    const Notice asleep{"Orvane Instruments",
                        "The logger has powered itself down whilst waiting for a user "
                        "response.\r\rTo continue this operation please wake up the logger and "
                        "then press 'Retry'.\rTo abort this operation and to unlink from the "
                        "logger press 'Cancel'.",
                        NoticeButtons::RetryCancel, NoticeIcon::Warning};
    for (;;) {
        if (Logger::SendPulse())
            return true;
        if (ShowNotice(asleep) != NoticeAnswer::Retry)
            return false;
    }
}
