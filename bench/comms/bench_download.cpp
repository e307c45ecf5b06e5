// A memory transfer through the command library ("#" then N blocks of "$"):
// blocks per second beside the raw floor, and at 19200 baud the time taken
// against the time the logger's bytes need on the wire.
#include "BenchSupport.h"
#include "CommandLibrary.h"
#include "Framing.h"
#include "Link.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

// Returns the seconds taken, or a negative value on failure.
double Transfer(int blocks) {
    QElapsedTimer elapsed;
    elapsed.start();
    const qint16 available = Logger::InitialiseDownload(8);
    if (available < blocks)
        return -1;
    for (int i = 0; i < blocks; ++i)
        if (Logger::ReadBlock().size() != MemoryBlockLength)
            return -1;
    return elapsed.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int blocks = argc > 1 ? atoi(argv[1]) : 3000;
    const int pacedBlocks = argc > 2 ? atoi(argv[2]) : 300;
    BenchSupport support;

    LoggerSimulator rawSim;
    if (!support.startSimulator(rawSim, 0))
        return 1;
    const double floor = BenchSupport::rawExchangeRate(rawSim.devicePath(), blocks);

    LoggerSimulator sim;
    if (!support.startSimulator(sim, 0))
        return 1;
    if (!OpenLink(1, 19200, 1))
        return 1;
    SetCommsTimeOut(20000);
    const double seconds = Transfer(blocks);
    CloseLink();

    LoggerSimulator paced;
    if (!support.startSimulator(paced, 19200))
        return 1;
    if (!OpenLink(1, 19200, 1))
        return 1;
    SetCommsTimeOut(20000);
    const double pacedSeconds = Transfer(pacedBlocks);
    CloseLink();

    if (seconds <= 0 || pacedSeconds <= 0 || floor <= 0) {
        std::printf("download benchmark failed\n");
        return 1;
    }
    const double rate = blocks / seconds;
    // Logger to host: the ready character and block count of "#", then the blocks.
    const double loggerBytes = 1 + 2 + 34.0 * pacedBlocks;
    const double wireSeconds = loggerBytes * 10 / 19200;
    std::printf("memory transfer, unpaced line: %d blocks\n", blocks);
    std::printf("raw read/write floor:  %8.0f blocks/s\n", floor);
    std::printf("command library:       %8.0f blocks/s (%.2f of the floor, target >= 0.70)\n", rate,
                rate / floor);
    std::printf("memory transfer at 19200 baud: %d blocks\n", pacedBlocks);
    std::printf("time taken %.3f s, logger bytes on the wire %.3f s: ratio %.3f (target <= 1.03)\n",
                pacedSeconds, wireSeconds, pacedSeconds / wireSeconds);
    return 0;
}
