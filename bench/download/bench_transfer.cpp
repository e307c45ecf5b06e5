// The whole memory downloaded through the transfer loop into data files, from
// the simulator: unpaced, blocks per second beside the raw floor of the same
// "$" exchanges; paced at 19200 and 9600 baud and over the modem at 9600, the
// time against the wire time of the logger's bytes; and the growth of the
// resident memory during the unpaced download.
#include "BenchSupport.h"
#include "BufferTransfer.h"
#include "ComlaneLoader.h"
#include "CommandLibrary.h"
#include "Framing.h"
#include "Link.h"
#include "OrvCommsInterface.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Run {
    qint32 blocks = 0;
    double seconds = -1; // the block loop only; negative on failure
    long rssGrowthKb = 0;
};

// A field of /proc/self/status in kB, or 0.
long StatusKb(const QByteArray& key) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    return 0;
}

// The peak resident size starts again from the current one.
void ResetPeakRss() {
    QFile refs("/proc/self/clear_refs");
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

bool Link(LoggerSimulator& sim, BenchSupport& support, int baud, bool modem) {
    sim.setModemMode(modem);
    if (!support.startSimulator(sim, baud))
        return false;
    SetLinkWindows({.runModemWindow = [] {
        QObject feedback;
        return qint16(CommsLink()->ConnectToModem("AT", "5550100", &feedback) == 0 ? 1 : 2);
    }});
    // The dial and handshake under the usual limit, not the short one the
    // previous download left for the absent buffers.
    SetCommsTimeOut(2000);
    return OpenLink(1, baud > 0 ? baud : 19200, modem ? 2 : 1);
}

// The whole memory into files under folder, stopping after limit blocks when
// limit is above 0. The eight buffer records are read first and not timed;
// the seven the simulator does not hold are waited for briefly.
Run Download(const QString& folder, int limit) {
    SetCommsTimeOut(300);
    TransferRequest request = TransferRequest::WholeMemoryDump(folder + "/memory");
    request.checkLoggerAwake = false;
    BufferTransfer transfer(request);
    QElapsedTimer clock;
    Run run;
    transfer.setProgress([&](qint32 done, qint32) {
        if (done == 0)
            clock.start();
        run.blocks = done;
        run.seconds = clock.nsecsElapsed() / 1e9;
        if (limit > 0 && done >= limit)
            transfer.abort();
    });
    const long before = StatusKb("VmRSS:");
    ResetPeakRss();
    const TransferResult result = transfer.run();
    run.rssGrowthKb = StatusKb("VmHWM:") - before;
    CloseLink();
    if (result.outcome == TransferResult::Outcome::Interrupted ||
        result.outcome == TransferResult::Outcome::FileError || run.blocks == 0)
        run.seconds = -1;
    return run;
}

// Logger to host during the block loop: 34 bytes a block, ten bit times each.
double WireSeconds(const Run& run, int baud) {
    return run.blocks * double(MemoryBlockLength) * 10 / baud;
}

int Failed(const char* what) {
    std::printf("transfer benchmark failed: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Paced runs take the whole memory only when asked (0): 7709 blocks are
    // more than two minutes at 19200 baud and four and a half at 9600.
    const int pacedBlocks = argc > 1 ? atoi(argv[1]) : 600;
    BenchSupport support;
    QTemporaryDir files;

    LoggerSimulator rawSim;
    if (!support.startSimulator(rawSim, 0))
        return Failed("no simulator");
    const int memoryBlocks = int(rawSim.model().bufferBlocks(0).size());
    const double floor = BenchSupport::rawExchangeRate(rawSim.devicePath(), memoryBlocks);

    LoggerSimulator unpacedSim;
    if (!Link(unpacedSim, support, 0, false))
        return Failed("no link to the unpaced simulator");
    const Run unpaced = Download(files.path(), 0);

    struct Paced {
        const char* name;
        int baud;
        bool modem;
        Run run;
    };
    Paced paced[] = {{"direct, 19200 baud", 19200, false, {}},
                     {"direct, 9600 baud", 9600, false, {}},
                     {"modem, 9600 baud", 9600, true, {}}};
    for (Paced& line : paced) {
        LoggerSimulator sim;
        // A line whose link is not made is reported unmeasured below.
        if (Link(sim, support, line.baud, line.modem))
            line.run = Download(files.path(), pacedBlocks);
    }

    if (floor <= 0 || unpaced.seconds <= 0)
        return Failed("unpaced download");
    const double rate = unpaced.blocks / unpaced.seconds;
    std::printf("whole memory into data files, unpaced line: %d blocks\n", unpaced.blocks);
    std::printf("raw \"$\" exchanges:      %8.0f blocks/s\n", floor);
    std::printf("transfer into files:    %8.0f blocks/s (%.2f of the floor), %.2f s\n", rate,
                rate / floor, unpaced.seconds);
    std::printf("resident memory growth: %ld kB\n", unpaced.rssGrowthKb);
    for (const Paced& line : paced) {
        if (line.run.seconds <= 0) {
            std::printf("%s: not measured (no link, or the transfer failed)\n", line.name);
            continue;
        }
        const double wire = WireSeconds(line.run, line.baud);
        std::printf("%s: %d blocks in %.2f s, logger bytes on the wire %.2f s: ratio %.3f\n",
                    line.name, line.run.blocks, line.run.seconds, wire, line.run.seconds / wire);
    }
    return 0;
}
