// qn7x-fetch: the unattended download. See qn7x-fetch.1.in.
#include "Fetch.h"
#include "FetchLog.h"
#include "FetchOptions.h"
#include "FetchSummary.h"
#include "StopSignals.h"

#include <QCoreApplication>
#include <QDate>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Standard error is the program's log of one line an error: Qt's own
// remarks stay out of it.
void LogSeriousOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "qn7x-fetch: %s\n", qPrintable(message.simplified()));
}

// Before a session: the error logged, and the JSON line when asked for.
int EndEarly(int code, const QString& error, bool json) {
    if (!error.isEmpty())
        FetchError(error);
    if (json) {
        FetchSummary summary;
        summary.exitCode = code;
        summary.error = FirstFetchError();
        std::fputs(summary.toJsonLine().constData(), stdout);
    }
    return code;
}

} // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(LogSeriousOnly);
    // No user interface: the Comlane plugin then shows no message box either.
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    const ParsedOptions parsed = ParseFetchOptions(arguments);
    const FetchOptions& options = parsed.options;
    // A script that asked for JSON gets its line whatever happens.
    const bool json = options.json || arguments.contains(QStringLiteral("--json"));
    if (!parsed.error.isEmpty())
        return EndEarly(ExitCode::Usage, parsed.error + " (see --help)", json);
    if (options.help || options.version) {
        // The JSON line keeps standard output; the text goes beside it.
        std::fputs(options.help ? FetchUsage : "qn7x-fetch " HUSHMARK_VERSION "\n",
                   json ? stderr : stdout);
        return EndEarly(ExitCode::Complete, {}, json);
    }
    // cron and services often run under the C locale, whose dates a reader
    // may not expect: say which the files get.
    if (options.downloads() && !options.dateFormatGiven && QLocale::system().name() == u'C')
        FetchNote(QStringLiteral("dates are written in the C locale's short format, %1 (such as "
                                 "%2); --date-format takes a locale name such as en_GB")
                      .arg(options.locale.dateFormat(QLocale::ShortFormat),
                           options.locale.toString(QDate(2026, 12, 31), QLocale::ShortFormat)));
    if (!CatchStopSignals())
        return EndEarly(ExitCode::NoComms,
                        "cannot catch signals: " + QString::fromLocal8Bit(std::strerror(errno)),
                        json);
    Fetch fetch(options);
    QSocketNotifier stops(StopSignalDescriptor(), QSocketNotifier::Read);
    QObject::connect(&stops, &QSocketNotifier::activated, &fetch, [&fetch] {
        char byte = 0;
        while (::read(StopSignalDescriptor(), &byte, 1) == 1) {
        }
        fetch.requestStop();
    });
    return fetch.run();
}
