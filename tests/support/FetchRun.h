#pragma once

// qn7x-fetch run as a scheduler runs it, against the simulated logger on a
// pseudo-terminal whose device is named behind port 1 in this test's own
// settings folder; buffers made to order and the files read back.

#include "BufferRecordLayout.h"
#include "MemoryBlocks.h"
#include "SimulatorPort.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace fetchrun {

const std::string Unlink = "\x01n";

struct BufferSpec {
    int records = 10;
    int leqEvery = 5;        // a short-term Leq record after every n-th (0: none)
    int terminatorAfter = 0; // a terminator after this record (0: none)
    bool recording = false;  // the stop date-time is unset
    int day = 0;             // of March 2004 it starts; 0: its number
};

// Buffer n (1-based) holds statistical records a minute apart from 08:00 on
// day n (or spec.day) of March 2004.
inline bool AddBuffer(LoggerSimulator& sim, int n, const BufferSpec& spec = {}) {
    sim::buffer_record::Settings settings;
    const int day = spec.day > 0 ? spec.day : n;
    settings.title = "Site " + std::to_string(n);
    settings.intervalMinutes = 1;
    settings.leqMode = 1;
    settings.start = sim::DateTime{2004, 3, day, 8, 0, 0};
    if (!spec.recording)
        settings.stop = sim::DateTime{2004, 3, day, 20, 0, 0};
    std::vector<std::string> data;
    for (int k = 1; k <= spec.records; ++k) {
        const sim::DateTime stamp{2004, 3, day, 8 + k / 60, k % 60, 0};
        sim::StatisticalValues values;
        values.leq = 400 + k;
        data.push_back(sim::statisticalBlock(stamp, values));
        if (spec.leqEvery > 0 && k % spec.leqEvery == 0)
            data.push_back(sim::shortTermLeqBlock(stamp, {500, 510, 520, 530}));
        if (k == spec.terminatorAfter)
            data.push_back(sim::terminatorBlock(stamp));
    }
    return sim.model().addBuffer(sim::buffer_record::encode(settings), data);
}

// A new logger on port 1 holding buffers 1 to count of this kind; none when
// it did not start.
inline std::unique_ptr<LoggerSimulator> LoggerOnPort(int count, const BufferSpec& spec = {}) {
    auto sim = std::make_unique<LoggerSimulator>();
    sim->model().clearBuffers();
    for (int n = 1; n <= count; ++n)
        if (!AddBuffer(*sim, n, spec))
            return nullptr;
    return StartSimulatorOnPort(*sim) ? std::move(sim) : nullptr;
}

inline QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The statistical records of a file: the lines after its heading line.
inline int StatisticalRecords(const QString& path) {
    const QList<QByteArray> lines = Contents(path).split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith("\"Date\""))
            return int(lines.size() - i - 2); // the heading and the empty rest after the last CR LF
    return -1;
}

// How often the host started command letter on the wire.
inline qsizetype Commands(const std::string& wire, char letter) {
    return QByteArray::fromStdString(wire).count(QByteArray("\x01") + letter);
}

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

inline QString Program() {
    return QCoreApplication::applicationDirPath() + "/qn7x-fetch";
}

// As a scheduler starts the program: no display and no Qt platform named, under
// a locale of its own as from a desktop (under the C locale it says which
// dates it writes).
inline QProcessEnvironment SchedulerEnvironment(const QString& locale) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", locale);
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(name);
    return environment;
}

// Started on port 1, which names the simulator's device.
inline void Start(QProcess& process, const QStringList& arguments,
                  const QString& locale = QStringLiteral("en_GB.UTF-8")) {
    process.setProcessEnvironment(SchedulerEnvironment(locale));
    process.start(Program(), QStringList{"1"} + arguments);
    QVERIFY(process.waitForStarted());
}

inline Run Finish(QProcess& process) {
    process.waitForFinished(180000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

inline Run Fetch(const QStringList& arguments) {
    QProcess process;
    Start(process, arguments);
    return Finish(process);
}

// The logger and the files' folder of one test, new for each.
class FetchScene {
protected:
    std::unique_ptr<LoggerSimulator> m_sim;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    void startLogger(int count, const BufferSpec& spec = {}) {
        m_sim = LoggerOnPort(count, spec);
        QVERIFY(m_sim);
    }
    void newScene() { m_dir = std::make_unique<QTemporaryDir>(); }
    void endScene() { m_sim.reset(); }
};

} // namespace fetchrun
