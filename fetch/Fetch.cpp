#include "Fetch.h"

#include "ComlaneLoader.h"
#include "CommandLibrary.h"
#include "FetchJson.h"
#include "FetchLog.h"
#include "HeaderBlock.h"
#include "HostSettings.h"
#include "Link.h"
#include "LoggerSession.h"
#include "LoggerStatus.h"
#include "Notices.h"
#include "OrvCommsInterface.h"
#include "PortOpenFailure.h"
#include "StopSignals.h"

#include <QDateTime>
#include <QEventLoop>
#include <QJsonObject>
#include <QSettings>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr qint16 DirectMethod = 1;
constexpr qint16 ModemMethod = 2;

// Without a stored initialisation string: echo off, which the dial starts
// with anyway, so the modem is never sent an empty command line.
const QString DefaultModemInit = QStringLiteral("ATE0");

} // namespace

Fetch::Fetch(FetchOptions options) : m_options(std::move(options)) {
    // Nobody is there to answer: a question gets its cautious answer and every
    // notice is one line of the log.
    SetNoticeHandler([](const Notice& notice) {
        FetchError(notice.title + ": " + notice.text);
        return NoticeAnswer::Cancel;
    });
}

Fetch::~Fetch() {
    SetNoticeHandler(nullptr);
    SetLinkWindows({});
}

void Fetch::requestStop() {
    // Elsewhere the exchange under way ends as usual and the stop is seen
    // before the next: a broken-off reply would count as a lost link.
    if (m_linking)
        InterruptReceive();
    if (m_pause)
        m_pause->quit();
}

qint64 Fetch::timeLeftMs() const {
    if (m_options.maxTimeSeconds <= 0)
        return std::numeric_limits<qint64>::max();
    return m_options.maxTimeSeconds * 1000LL - m_clock.elapsed();
}

bool Fetch::timeLimitReached() const {
    return timeLeftMs() <= 0;
}

bool Fetch::stopped() const {
    return StopSignalled() || timeLimitReached();
}

void Fetch::pause(qint64 milliseconds) {
    // No pause outlasts the run's time limit.
    const qint64 wait = std::min(milliseconds, timeLeftMs());
    if (wait <= 0 || stopped())
        return;
    QEventLoop loop;
    m_pause = &loop;
    QTimer::singleShot(std::chrono::milliseconds(wait), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

int Fetch::run() {
    m_clock.start();
    m_summary.started = QDateTime::currentDateTimeUtc();
    // Ends a wait on the line (a dial, a handshake); the clock itself decides
    // everywhere else.
    if (m_options.maxTimeSeconds > 0)
        QTimer::singleShot(std::chrono::seconds(m_options.maxTimeSeconds), Qt::PreciseTimer, this,
                           &Fetch::requestStop);
    if (!CommsLink()) {
        FetchError("cannot load the Comlane plugin: " + CommsLoadError());
        return finish(ExitCode::NoComms);
    }
    resolvePort();
    const int linked = linkWithRetries();
    if (linked != ExitCode::Complete)
        return finish(linked);
    const int code = work();
    CloseLink();
    return finish(code);
}

void Fetch::resolvePort() {
    using namespace HostSettings;
    // Unset, each is what Hushmark itself starts with.
    const CommsChoice chosen = ReadCommsChoice();
    m_port = m_options.port ? m_options.port : chosen.port;
    m_baud = m_options.baud ? m_options.baud : chosen.baud;
    m_init = !m_options.modemInit.isEmpty() ? m_options.modemInit
                                            : Read(Modem, Key::Initialisation, DefaultModemInit);
    if (!m_options.device.isEmpty()) {
        // Comlane opens ports by number through the host's settings: a device
        // named here goes behind port 1 of a private settings store, so the
        // user's settings are neither used for it nor changed.
        m_privateSettings = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_privateSettings->path());
        Write(Comms, Key::Device(1), m_options.device);
        m_port = 1;
    }
    m_summary.device = PortDevice(m_port);
}

int Fetch::linkWithRetries() {
    for (int attempt = 1;; ++attempt) {
        // The summary tells why the last try failed.
        ForgetFetchErrors();
        const int code = link();
        if (code != ExitCode::Complete && stopped())
            return ExitCode::Stopped;
        // Only what may pass by itself is worth another try.
        const bool passing = code == ExitCode::NoLogger || code == ExitCode::PortBusy;
        if (code == ExitCode::Complete || !passing || attempt > m_options.retries)
            return code;
        FetchNote(QStringLiteral("try %1 of %2 failed; the next in %3 s")
                      .arg(attempt)
                      .arg(m_options.retries + 1)
                      .arg(m_options.retryDelaySeconds));
        pause(m_options.retryDelaySeconds * 1000LL);
        if (stopped())
            return ExitCode::Stopped;
    }
}

int Fetch::link() {
    m_modemFailed = false;
    SetLinkWindows({.portNotOpened =
                        [](const QString& device, qint16 error) {
                            // The advice after the cause names the window's menus.
                            FetchError(PortOpenFailureText(device, error).section("\r\r", 0, 0));
                        },
                    .runModemWindow = [this] { return qint16(dial() ? 1 : 2); },
                    .runLinkWindow = [this] { return handshake(); }});
    const qint16 method = m_options.modemNumber.isEmpty() ? DirectMethod : ModemMethod;
    m_linking = true;
    const bool opened = OpenLink(m_port, m_baud, method);
    m_linking = false;
    if (!opened) {
        if (Session().lastOpenError == CommsError::InvalidPort)
            FetchError("no such device: " + m_summary.device);
        if (Session().lastOpenError == CommsError::PortInUse)
            return ExitCode::PortBusy;
        if (Session().lastOpenError != 0)
            return ExitCode::PortError;
        if (stopped())
            return ExitCode::Stopped;
        if (!m_modemFailed)
            FetchError(QStringLiteral("no logger answers on %1 at %2 baud")
                           .arg(m_summary.device)
                           .arg(m_baud));
        return ExitCode::NoLogger;
    }
    m_info = Logger::GetInformation();
    if (m_info.serialNumber == -1 && !stopped())
        m_info = Logger::GetInformation();
    m_infoReadAt = QDateTime::currentDateTime();
    if (m_info.serialNumber == -1 || stopped()) {
        if (!stopped())
            FetchError("the logger did not send its information");
        CloseLink();
        return stopped() ? ExitCode::Stopped : ExitCode::NoLogger;
    }
    m_summary.serial = SerialNumberText(m_info.serialNumber);
    m_summary.logger = StatusJson(StatusOf(m_info, m_infoReadAt, BufferList()));
    if (m_options.expectedSerial >= 0 && m_info.serialNumber != m_options.expectedSerial) {
        FetchError(QStringLiteral("the logger that answered is %1, not %2: nothing is downloaded "
                                  "or cleared")
                       .arg(m_summary.serial, SerialNumberText(m_options.expectedSerial)));
        CloseLink();
        return ExitCode::WrongLogger;
    }
    return ExitCode::Complete;
}

bool Fetch::dial() {
    QObject feedback;
    const qint16 outcome =
        DialModem(m_init.toLatin1(), m_options.modemNumber.toLatin1(), &feedback);
    if (outcome == 0)
        return true;
    m_modemFailed = true;
    if (!stopped()) {
        const QStringList lines =
            feedback.property("Text").toString().split(u'\n', Qt::SkipEmptyParts);
        FetchError("the modem did not connect to " + m_options.modemNumber + ": " +
                   (lines.isEmpty() ? QString() : lines.last()));
    }
    return false;
}

bool Fetch::handshake() {
    if (Logger::Handshake())
        return true;
    for (int attempt = 1; attempt <= HandshakeRetries && !stopped(); ++attempt) {
        if (Logger::Handshake())
            return true;
        pause(HandshakeRetrySpacingMs);
    }
    return false;
}

int Fetch::work() {
    const BufferList list =
        ReadBufferList({.recordAttempts = 2, .stopRequested = [this] { return stopped(); }});
    if (stopped())
        return ExitCode::Stopped;
    if (list.count == -1) {
        FetchError("the logger did not say how many buffers it holds");
        return ExitCode::LinkLost;
    }
    // A garbled count is no empty logger: nothing could be read or cleared by it.
    if (list.count > MaxBuffers) {
        FetchError(QStringLiteral("the logger says it holds %1 buffers, more than it can")
                       .arg(list.count));
        return ExitCode::LinkLost;
    }
    const LoggerStatus status = StatusOf(m_info, m_infoReadAt, list);
    m_summary.logger = StatusJson(status);
    if (m_options.status && !m_options.json) {
        std::fputs(qPrintable(StatusReport(status)), stdout);
        std::fflush(stdout);
    }
    if (m_options.list)
        printList(list);
    if (stopped())
        return ExitCode::Stopped;
    if (m_options.wholeMemory) {
        const int code = downloadWholeMemory(list);
        if (stopped())
            return ExitCode::Stopped;
        if (!m_options.clearAfter || code != ExitCode::Complete)
            return code;
        const int cleared = clearWholeMemory(list);
        return stopped() ? ExitCode::Stopped : cleared;
    }

    const qint16 held = qint16(list.records.size());
    QList<qint16> buffers = m_options.buffers;
    if (m_options.everyBuffer)
        for (qint16 n = 1; n <= held; ++n)
            if (!buffers.contains(n))
                buffers << n;
    std::sort(buffers.begin(), buffers.end());
    if (!buffers.isEmpty() && buffers.last() > held) {
        FetchError(QStringLiteral("there is no buffer %1: the logger holds %2")
                       .arg(buffers.last())
                       .arg(held));
        return ExitCode::Usage;
    }
    if (m_options.clearAfter && held > 0 && !buffers.contains(held)) {
        FetchError(QStringLiteral("--clear-after clears from the most recent buffer, %1, which is "
                                  "not downloaded")
                       .arg(held));
        return ExitCode::Usage;
    }
    const int code = downloadBuffers(list, buffers);
    if (stopped())
        return ExitCode::Stopped;
    if (!m_options.clearAfter)
        return code;
    // A link that lost replies or a failing disk is no time to erase anything.
    if (code == ExitCode::LinkLost || code == ExitCode::FileError) {
        FetchError("no buffer is cleared after a lost reply or a file error");
        return code;
    }
    const int cleared = clearBuffers(list, buffers);
    if (stopped())
        return ExitCode::Stopped;
    return code != ExitCode::Complete ? code : cleared;
}

void Fetch::printList(const BufferList& list) {
    for (qsizetype i = 0; i < list.records.size() && !stopped(); ++i) {
        const BufferRecord& record = list.records.at(i);
        const qint16 blocks = Logger::InitialiseDownload(qint16(i));
        QJsonObject entry = BufferJson(record);
        entry.insert("number", int(i + 1));
        entry.insert("intervalMinutes", record.interval);
        entry.insert("blocks", blocks);
        m_summary.buffers.append(entry);
        if (!m_options.json)
            std::printf("%lld\t%s\t%s\t%s\t%s\t%d\n", static_cast<long long>(i + 1),
                        qPrintable(entry["title"].toString()),
                        qPrintable(IsoDateTimeText(record.start)),
                        qPrintable(IsoDateTimeText(record.stop)),
                        qPrintable(IntervalText(record.interval)), int(blocks));
    }
    std::fflush(stdout);
}

int Fetch::finish(int code) {
    m_summary.exitCode = code;
    m_summary.timeLimit = code == ExitCode::Stopped && !StopSignalled();
    m_summary.error = FirstFetchError();
    // A stop is why the run ended, whatever went wrong before it.
    if (code == ExitCode::Stopped) {
        m_summary.error = m_summary.timeLimit
                              ? QStringLiteral("the time limit of %1 s ended the run")
                                    .arg(m_options.maxTimeSeconds)
                              : QStringLiteral("a stop signal ended the run");
        FetchError(m_summary.error);
    }
    m_summary.seconds = m_clock.elapsed() / 1000.0;
    if (m_options.clearAfter)
        m_summary.cleared = m_cleared;
    if (m_options.json)
        std::fputs(m_summary.toJsonLine().constData(), stdout);
    // A summary or list that did not reach its reader is a failure to report,
    // even after a complete download: a script would take silence for success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        FetchError("the output could not be written: " +
                   QString::fromLocal8Bit(std::strerror(errno)));
        if (code == ExitCode::Complete)
            code = ExitCode::FileError;
    }
    return code;
}
