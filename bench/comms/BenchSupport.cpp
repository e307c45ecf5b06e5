#include "BenchSupport.h"

#include "SimulatorPort.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

BenchSupport::BenchSupport() {
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
}

bool BenchSupport::startSimulator(LoggerSimulator& sim, int baud) {
    sim.setBaudRate(baud);
    if (!StartSimulatorOnPort(sim))
        return false;
    sim.model().fillMemory();
    return true;
}

namespace {

bool ReadExactly(int fd, char* buffer, int length) {
    int got = 0;
    while (got < length) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 2000) <= 0)
            return false;
        const ssize_t n = read(fd, buffer + got, size_t(length - got));
        if (n <= 0)
            return false;
        got += int(n);
    }
    return true;
}

bool Exchange(int fd, const char* out, int outLength, char* reply, int replyLength) {
    return write(fd, out, size_t(outLength)) == outLength && ReadExactly(fd, reply, replyLength);
}

} // namespace

double BenchSupport::rawExchangeRate(const std::string& device, int count) {
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return 0;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    char reply[64];
    // "#" 8: ready character, data block, then the two-byte block count.
    bool ok = write(fd, "\x01#", 2) == 2 && ReadExactly(fd, reply, 1) &&
              Exchange(fd, "\x03\x08\x02", 3, reply, 2);
    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; ok && i < count; ++i)
        ok = Exchange(fd, "\x01$\x02", 3, reply, 34);
    const double seconds = elapsed.nsecsElapsed() / 1e9;
    write(fd, "\x01n", 2);
    close(fd);
    return ok ? count / seconds : 0;
}
