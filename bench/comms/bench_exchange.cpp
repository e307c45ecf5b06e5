// One block-read exchange (3 bytes out, 34 back) through OrvComms, against the
// same exchange with plain read/write: the cost of the comms class.
#include "BenchSupport.h"
#include "ComlaneLoader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 3000;
    BenchSupport support;

    LoggerSimulator rawSim;
    if (!support.startSimulator(rawSim, 0))
        return 1;
    const double floor = BenchSupport::rawExchangeRate(rawSim.devicePath(), count);

    LoggerSimulator sim;
    if (!support.startSimulator(sim, 0))
        return 1;
    auto comms = CreateOrvComms();
    if (!comms)
        return 1;
    comms->setCommPort(1);
    comms->setBaudRate(19200);
    if (comms->OpenComms() != 0)
        return 1;
    comms->setTimeOut(2000);
    comms->Send("\x01#");
    bool ok = !comms->Receive(1).isEmpty();
    comms->Send(QByteArray("\x03\x08\x02", 3));
    ok = ok && comms->Receive(2).size() == 2;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; ok && i < count; ++i) {
        comms->Send("\x01$\x02");
        ok = comms->Receive(34).size() == 34;
    }
    const double rate = count / (elapsed.nsecsElapsed() / 1e9);
    comms->Send("\x01n");
    comms->CloseComms();
    if (!ok || floor <= 0) {
        std::printf("exchange benchmark failed (comms ok: %d, floor %.0f/s)\n", ok, floor);
        return 1;
    }
    std::printf("block exchanges: %d\n", count);
    std::printf("raw read/write floor: %8.0f exchanges/s\n", floor);
    std::printf("OrvComms:             %8.0f exchanges/s\n", rate);
    std::printf("floor / OrvComms time ratio: %.2f (target <= 1.5)\n", floor / rate);
    return 0;
}
