// The whole memory downloaded by the qn7x-fetch program from the simulator
// paced at 19200 baud (a full memory, one buffer): the block loop's time
// against the wire time of the logger's blocks, and the whole run's time.
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Baud = 19200;
constexpr int BlockBytes = 34;

int Failed(const char* what) {
    std::printf("fetch benchmark failed: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    BenchSupport support;
    LoggerSimulator sim;
    if (!support.startSimulator(sim, Baud))
        return Failed("no simulator");
    QTemporaryDir files;
    QProcess fetch;
    QElapsedTimer clock;
    clock.start();
    fetch.start(app.applicationDirPath() + "/qn7x-fetch",
                {"1", "--baud", QString::number(Baud), "--all", "--base", files.filePath("memory"),
                 "--json"});
    if (!fetch.waitForFinished(-1) || fetch.exitCode() != 0)
        return Failed(fetch.readAllStandardError().constData());
    const double wall = clock.nsecsElapsed() / 1e9;
    const QJsonObject download = QJsonDocument::fromJson(fetch.readAllStandardOutput())
                                     .object()["downloads"]
                                     .toArray()
                                     .at(0)
                                     .toObject();
    // A whole memory that ends at the terminator read it too.
    const int blocks = download["records"].toInt() + (download["result"] == "terminated" ? 1 : 0);
    const double loop = download["blockSeconds"].toDouble();
    const double wire = blocks * double(BlockBytes) * 10 / Baud;
    std::printf("qn7x-fetch, whole memory, direct, %d baud: %d blocks\n", Baud, blocks);
    std::printf("block loop %.2f s, logger bytes on the wire %.2f s: ratio %.3f\n", loop, wire,
                loop / wire);
    std::printf("transfer with header file %.2f s, whole run (link to unlink) %.2f s\n",
                download["seconds"].toDouble(), wall);
    return 0;
}
