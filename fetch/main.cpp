// qn7x-fetch: the unattended download. See qn7x-fetch.1.
#include "Fetch.h"
#include "FetchOptions.h"
#include "StopSignals.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace {

// The Comlane plugin tells of a port that will not open with a message box.
// No one is at the screen: each box is dismissed as it appears, and the
// cause is logged from the open's result instead.
class BoxDismisser : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (QPointer<QMessageBox> box = qobject_cast<QMessageBox*>(watched))
                QMetaObject::invokeMethod(
                    this,
                    [box] {
                        if (box)
                            box->done(QMessageBox::Cancel);
                    },
                    Qt::QueuedConnection);
        return false;
    }
};

// Standard error is the program's log of one line an error: Qt's remarks on
// the offscreen platform and the like stay out of it.
void LogSeriousOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "qn7x-fetch: %s\n", qPrintable(message.simplified()));
}

} // namespace

int main(int argc, char* argv[]) {
    // Never a window, even from a desktop session.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(LogSeriousOnly);
    QApplication app(argc, argv);
    BoxDismisser dismisser;
    app.installEventFilter(&dismisser);
    const ParsedOptions parsed = ParseFetchOptions(app.arguments().mid(1));
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "qn7x-fetch: %s (see --help)\n", qPrintable(parsed.error));
        return ExitCode::Usage;
    }
    if (parsed.options.help) {
        std::fputs(FetchUsage, stdout);
        return ExitCode::Complete;
    }
    if (!CatchStopSignals()) {
        std::perror("qn7x-fetch: signals");
        return ExitCode::NoComms;
    }
    Fetch fetch(parsed.options);
    QSocketNotifier stops(StopSignalDescriptor(), QSocketNotifier::Read);
    QObject::connect(&stops, &QSocketNotifier::activated, &fetch, [&fetch] {
        char byte = 0;
        while (::read(StopSignalDescriptor(), &byte, 1) == 1) {
        }
        fetch.requestStop();
    });
    return fetch.run();
}
