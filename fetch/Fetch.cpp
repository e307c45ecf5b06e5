#include "Fetch.h"

#include "ComlaneLoader.h"
#include "CommandLibrary.h"
#include "Framing.h"
#include "HeaderBlock.h"
#include "HostSettings.h"
#include "Link.h"
#include "Notices.h"
#include "OrvCommsInterface.h"
#include "PortOpenFailure.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr qint16 DirectMethod = 1;
constexpr qint16 ModemMethod = 2;
constexpr int ProgressBarWidth = 30;

// Without a stored initialisation string: echo off, which the dial starts
// with anyway, so the modem is never sent an empty command line.
const QString DefaultModemInit = QStringLiteral("ATE0");

const QStringList ResultNames = {"complete",   "comlane missing", "usage error", "no logger",
                                 "port error", "link lost",       "file error",  "incomplete",
                                 "stopped",    "not cleared"};

// Operator texts carry "\r" line breaks; a log line has none.
QString OneLine(const QString& text) {
    return text.simplified();
}

void Error(const QString& text) {
    std::fprintf(stderr, "qn7x-fetch: %s\n", qPrintable(OneLine(text)));
}

QString IsoText(const LoggerDateTime& value) {
    if (!IsValidDateTime(value))
        return {};
    return QDateTime(QDate(value.year, value.month, value.day),
                     QTime(value.hour, value.minute, value.second))
        .toString(Qt::ISODate);
}

QString OutcomeName(TransferResult::Outcome outcome) {
    switch (outcome) {
    case TransferResult::Outcome::Completed:
        return QStringLiteral("completed");
    case TransferResult::Outcome::Terminated:
        return QStringLiteral("terminated");
    case TransferResult::Outcome::Interrupted:
        return QStringLiteral("interrupted");
    case TransferResult::Outcome::FileError:
        return QStringLiteral("file error");
    }
    return {};
}

// The files reach the disk before a buffer they came from may be erased.
bool SyncToDisk(const QStringList& files) {
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || ::fsync(file.handle()) != 0)
            return false;
    }
    return true;
}

} // namespace

Fetch::Fetch(FetchOptions options) : m_options(std::move(options)) {
    // Nobody is there to answer: a question gets its cautious answer and every
    // notice is one line of the log.
    SetNoticeHandler([](const Notice& notice) {
        Error(notice.title + ": " + notice.text);
        return NoticeAnswer::Cancel;
    });
}

Fetch::~Fetch() {
    SetNoticeHandler(nullptr);
    SetLinkWindows({});
}

void Fetch::requestStop() {
    m_stopped = true;
    if (m_transfer)
        m_transfer->abort(); // the blocks received so far stay in the files
    else
        InterruptReceive(); // a handshake or a dial waiting returns at once
    if (m_pause)
        m_pause->quit();
}

int Fetch::run() {
    m_clock.start();
    if (!CommsLink()) {
        Error("cannot load the Comlane plugin: " + CommsLoadError());
        return finish(ExitCode::NoComms);
    }
    resolvePort();
    const int linked = link();
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
    m_device = CommsLink()->PortDevice(m_port);
}

int Fetch::link() {
    SetLinkWindows({.portNotOpened =
                        [](const QString& device, qint16 error) {
                            // The advice after the cause names the window's menus.
                            Error(PortOpenFailureText(device, error).section("\r\r", 0, 0));
                        },
                    .runModemWindow = [this] { return qint16(dial() ? 1 : 2); },
                    .runLinkWindow = [this] { return handshake(); }});
    const qint16 method = m_options.modemNumber.isEmpty() ? DirectMethod : ModemMethod;
    if (!OpenLink(m_port, m_baud, method)) {
        if (LastOpenError() == CommsError::InvalidPort)
            Error("no such device: " + m_device);
        if (LastOpenError() != 0)
            return ExitCode::PortError;
        if (m_stopped)
            return ExitCode::Stopped;
        if (!m_modemFailed)
            Error(QStringLiteral("no logger answers on %1 at %2 baud").arg(m_device).arg(m_baud));
        return ExitCode::NoLogger;
    }
    InformationRecord info = Logger::GetInformation();
    if (info.serialNumber == -1)
        info = Logger::GetInformation();
    if (info.serialNumber == -1 || m_stopped) {
        if (!m_stopped)
            Error("the logger did not send its information");
        CloseLink();
        return m_stopped ? ExitCode::Stopped : ExitCode::NoLogger;
    }
    m_serialNumberText = SerialNumberText(info.serialNumber);
    return ExitCode::Complete;
}

bool Fetch::dial() {
    QObject feedback;
    const qint16 outcome =
        CommsLink()->ConnectToModem(m_init.toLatin1(), m_options.modemNumber.toLatin1(), &feedback);
    if (outcome == 0)
        return true;
    m_modemFailed = true;
    if (!m_stopped) {
        const QStringList lines =
            feedback.property("Text").toString().split(u'\n', Qt::SkipEmptyParts);
        Error("the modem did not connect to " + m_options.modemNumber + ": " +
              (lines.isEmpty() ? QString() : lines.last()));
    }
    return false;
}

bool Fetch::handshake() {
    if (Logger::Handshake())
        return true;
    for (int attempt = 1; attempt <= HandshakeRetries && !m_stopped; ++attempt) {
        if (Logger::Handshake())
            return true;
        QEventLoop pause;
        m_pause = &pause;
        QTimer::singleShot(HandshakeRetrySpacingMs, &pause, &QEventLoop::quit);
        if (!m_stopped)
            pause.exec();
    }
    return false;
}

int Fetch::work() {
    const BufferList list = ReadBufferList();
    if (list.count == -1) {
        Error("the logger did not say how many buffers it holds");
        return ExitCode::LinkLost;
    }
    const qint16 held = qint16(list.records.size());
    if (m_options.list)
        printList(list);

    QList<qint16> buffers = m_options.buffers;
    if (m_options.everyBuffer)
        for (qint16 n = 1; n <= held; ++n)
            buffers << n;
    if (!buffers.isEmpty() && buffers.last() > held) {
        Error(QStringLiteral("there is no buffer %1: the logger holds %2")
                  .arg(buffers.last())
                  .arg(held));
        return ExitCode::Usage;
    }
    if (m_options.clearAfter && !m_options.wholeMemory && !buffers.contains(held)) {
        Error(QStringLiteral("--clear-after clears from the most recent buffer, %1, which is "
                             "not downloaded")
                  .arg(held));
        return ExitCode::Usage;
    }

    int code = ExitCode::Complete;
    if (m_options.wholeMemory) {
        code = download(WholeMemory, EmptyBufferRecord(), m_options.base);
    } else {
        for (qint16 n : std::as_const(buffers)) {
            const QString base = buffers.size() == 1
                                     ? m_options.base
                                     : m_options.base + QStringLiteral("_B%1").arg(n);
            const int one = download(qint16(n - 1), list.records.at(n - 1), base);
            if (one == ExitCode::Complete)
                continue;
            code = one;
            // An early end of one buffer is no reason to leave the others.
            if (one != ExitCode::Incomplete)
                break;
        }
    }
    if (m_stopped)
        return ExitCode::Stopped;
    if (!m_options.clearAfter)
        return code;
    if (code != ExitCode::Complete) {
        Error("not clearing: the download is not complete");
        return code;
    }
    return clear(list, m_options.wholeMemory ? QList<qint16>() : buffers);
}

void Fetch::printList(const BufferList& list) {
    for (qsizetype i = 0; i < list.records.size(); ++i) {
        const BufferRecord& record = list.records.at(i);
        const qint16 blocks = Logger::InitialiseDownload(qint16(i));
        const QString title = TitleText(record.title).trimmed();
        m_listJson.append(QJsonObject{{"number", int(i + 1)},
                                      {"title", title},
                                      {"start", IsoText(record.start)},
                                      {"stop", IsoText(record.stop)},
                                      {"intervalMinutes", record.interval},
                                      {"blocks", blocks}});
        if (!m_options.json)
            std::printf("%lld\t%s\t%s\t%s\t%s\t%d\n", static_cast<long long>(i + 1),
                        qPrintable(title), qPrintable(IsoText(record.start)),
                        qPrintable(IsoText(record.stop)), qPrintable(IntervalText(record.interval)),
                        int(blocks));
    }
    std::fflush(stdout);
}

int Fetch::download(qint16 buffer, const BufferRecord& record, const QString& baseName) {
    if (m_stopped)
        return ExitCode::Stopped;
    const bool wholeMemory = buffer == WholeMemory;
    TransferRequest request = wholeMemory ? TransferRequest::WholeMemoryDump(baseName)
                                          : TransferRequest::OneBuffer(buffer, record, baseName);
    request.serialNumberText = m_serialNumberText;
    request.locale = m_options.locale;
    BufferTransfer transfer(request);
    m_progressShown = false;
    const bool terminal = isatty(STDERR_FILENO);
    // The block loop is timed from the block count on, apart from the headers.
    QElapsedTimer clock, blockClock;
    clock.start();
    double blockSeconds = 0;
    transfer.setProgress([&](qint32 done, qint32 total) {
        if (done == 0)
            blockClock.start();
        blockSeconds = blockClock.nsecsElapsed() / 1e9;
        if (terminal)
            showProgress(done, total, wholeMemory);
    });
    m_transfer = &transfer;
    const TransferResult result = transfer.run();
    m_transfer = nullptr;
    if (m_progressShown)
        std::fputc('\n', stderr);

    int code = ExitCode::Complete;
    switch (result.outcome) {
    case TransferResult::Outcome::Completed:
        break;
    case TransferResult::Outcome::Terminated:
        // The whole memory ends at the terminator after the newest buffer.
        if (m_stopped)
            code = ExitCode::Stopped;
        else if (!wholeMemory)
            code = ExitCode::Incomplete;
        break;
    case TransferResult::Outcome::Interrupted:
        code = ExitCode::LinkLost;
        break;
    case TransferResult::Outcome::FileError:
        code = ExitCode::FileError;
        break;
    }
    if (code == ExitCode::Incomplete)
        Error(QStringLiteral("buffer %1 ended after %2 of %3 blocks")
                  .arg(buffer + 1)
                  .arg(result.records)
                  .arg(result.announced));
    else if (code != ExitCode::Complete && code != ExitCode::Stopped)
        Error(result.message);
    QJsonArray files;
    for (const QString& file : result.files)
        files.append(file);
    m_downloadsJson.append(
        QJsonObject{{"buffer", wholeMemory ? QJsonValue("memory") : QJsonValue(buffer + 1)},
                    {"files", files},
                    {"records", result.records},
                    {"announced", result.announced},
                    {"seconds", clock.elapsed() / 1000.0},
                    {"blockSeconds", blockSeconds},
                    {"result", OutcomeName(result.outcome)}});
    if (code == ExitCode::Complete && m_options.clearAfter && !SyncToDisk(result.files)) {
        Error("the data files of " + baseName + " could not be flushed to disk");
        code = ExitCode::FileError;
    }
    return code;
}

int Fetch::clear(const BufferList& list, const QList<qint16>& downloaded) {
    // Only the most recent buffer can be cleared, and not while logging: the
    // downloaded buffers go from the newest down to the first one not downloaded.
    if (Logger::GetLoggingMode() != 0) {
        Error("not clearing: the logger is logging, or did not say whether it is");
        return ExitCode::NotCleared;
    }
    for (qint16 n = qint16(list.records.size()); n >= 1; --n) {
        if (!downloaded.isEmpty() && !downloaded.contains(n))
            break;
        if (!Logger::ClearBuffer()) {
            Error(QStringLiteral("buffer %1 was not cleared").arg(n));
            return ExitCode::NotCleared;
        }
        ++m_cleared;
    }
    return ExitCode::Complete;
}

void Fetch::showProgress(qint32 done, qint32 total, bool wholeMemory) {
    const int percent = ProgressPercent(done, total);
    const int filled = percent * ProgressBarWidth / 100;
    std::fprintf(stderr, "\r[%s%s] %3d%% %s", QByteArray(filled, '#').constData(),
                 QByteArray(ProgressBarWidth - filled, ' ').constData(), percent,
                 qPrintable(ProgressText(done, total, wholeMemory)));
    m_progressShown = true;
}

int Fetch::finish(int code) {
    if (m_options.json) {
        QJsonObject summary{{"result", ResultNames.value(code)},
                            {"exitCode", code},
                            {"seconds", m_clock.elapsed() / 1000.0},
                            {"downloads", m_downloadsJson}};
        if (m_options.list)
            summary.insert("buffers", m_listJson);
        if (m_options.clearAfter)
            summary.insert("cleared", m_cleared);
        std::fputs(QJsonDocument(summary).toJson(QJsonDocument::Indented).constData(), stdout);
    }
    std::fflush(stdout);
    return code;
}
