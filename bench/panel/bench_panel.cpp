// The control panel in use: time from start to the main window shown, CPU
// used per minute while linked and polling 8 times a second, and the longest
// stall of the event loop meanwhile, with a level that keeps changing. The
// logger simulator runs as its own process so that its CPU time is not counted.
#include "LoggerSession.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <ctime>

namespace {

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config; // never the user's settings
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? atoi(argv[1]) : 20;

    QProcess sim;
    sim.start(QCoreApplication::applicationDirPath() + "/qn7x-sim", {"--fill-memory"});
    if (!sim.waitForReadyRead(5000)) {
        std::printf("the simulator did not start\n");
        return 1;
    }
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, "OrvType1", "OrvType1");
        store.setValue("Comms/Device1", device);
        store.setValue("Comms/Port", 1);
    }

    const qint64 beforeWindow = sinceStart.elapsed();
    frmMain panel;
    panel.show();
    if (!QTest::qWaitForWindowExposed(&panel))
        return 1;
    const qint64 shown = sinceStart.elapsed();

    panel.findChild<QPushButton*>("cmdLink")->click();
    if (!Session().linked) {
        std::printf("could not link to the simulator on %s\n", qPrintable(device));
        return 1;
    }
    panel.findChild<QAction*>("UpdateRateItem8")->trigger();

    // A level that moves as a real one does, so every poll redraws the bar.
    QTimer levels;
    int step = 0;
    QObject::connect(&levels, &QTimer::timeout, [&] {
        step = (step + 37) % 400;
        sim.write(QByteArray("level ") + QByteArray::number(450 + step) + "\n");
    });
    levels.start(100);

    // CPU while polling, with nothing else running in this process.
    const double cpuBefore = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(seconds * 1000);
    const double cpu = CpuSeconds() - cpuBefore;
    const double wallSeconds = wall.elapsed() / 1000.0;

    // The longest gap between ticks of a fast probe timer while polling.
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(2);
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { longest = qMax(longest, sinceTick.restart()); });
    sinceTick.start();
    probe.start();
    QTest::qWait(qMin(seconds, 10) * 1000);
    probe.stop();

    levels.stop();
    panel.close();
    sim.write("quit\n");
    sim.waitForFinished(3000);

    std::printf("start to main window shown: %lld ms (window construction %lld ms)\n", shown,
                shown - beforeWindow);
    std::printf("CPU while linked and polling 8/s: %.2f s per minute = %.2f %% of one core "
                "(target < 2 %%)\n",
                cpu * 60 / wallSeconds, cpu * 100 / wallSeconds);
    std::printf("longest event-loop stall while polling: %lld ms (target < 50 ms)\n", longest);
    return 0;
}
