#pragma once

// The host's end of the simulator's pseudo-terminal, with plain POSIX calls:
// what a serial library does underneath, without one in the way.

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include "LoggerSimulator.h"

#include <functional>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

class SimClient {
public:
    // baud: the rate set on this end, as a serial library sets its port's;
    // 0 leaves the pty's own (none), which only an unpaced simulator hears.
    explicit SimClient(const std::string& path, int baud = 0) {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ >= 0) {
            termios raw{};
            ::tcgetattr(fd_, &raw);
            cfmakeraw(&raw);
            ::tcsetattr(fd_, TCSANOW, &raw);
            if (baud > 0)
                setBaudRate(baud);
        }
    }
    ~SimClient() { close(); }
    SimClient(const SimClient&) = delete;
    SimClient& operator=(const SimClient&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    // Re-clocks this end (1200 to 38400 bits per second).
    bool setBaudRate(int baud) {
        static constexpr std::pair<int, speed_t> kRates[] = {
            {1200, B1200}, {2400, B2400},   {4800, B4800},
            {9600, B9600}, {19200, B19200}, {38400, B38400},
        };
        for (const auto& [rate, code] : kRates) {
            termios tio{};
            if (rate == baud)
                return ::tcgetattr(fd_, &tio) == 0 && ::cfsetspeed(&tio, code) == 0 &&
                       ::tcsetattr(fd_, TCSANOW, &tio) == 0;
        }
        return false;
    }

    void close() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    bool send(const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.constData() + done, bytes.size() - done);
            if (n <= 0)
                return false;
            done += n;
        }
        return true;
    }

    // Reads until n bytes have come or the time is up; returns what came.
    QByteArray receive(qsizetype n, int timeoutMs = 2000) {
        QByteArray got;
        QElapsedTimer timer;
        timer.start();
        while (got.size() < n) {
            const qint64 left = timeoutMs - timer.elapsed();
            if (left <= 0)
                break;
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left)) <= 0)
                break;
            if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) {
                hungUp_ = true;
                if (!(p.revents & POLLIN))
                    break;
            }
            char buffer[4096];
            const ssize_t r =
                ::read(fd_, buffer,
                       static_cast<size_t>(std::min<qsizetype>(n - got.size(), sizeof buffer)));
            if (r <= 0) {
                hungUp_ = true;
                break;
            }
            got.append(buffer, r);
        }
        return got;
    }

    // Whatever arrives within the time (for checking that nothing comes).
    QByteArray drain(int timeoutMs) { return receive(1 << 20, timeoutMs); }

    bool hungUp() const { return hungUp_; }

    // Framing as the host does it.
    bool command(char letter) { return send(QByteArray("\x01", 1) + letter); }
    QByteArray request(qsizetype n, int timeoutMs = 2000) {
        send(QByteArray("\x02", 1));
        return receive(n, timeoutMs);
    }
    // Letter, wait for the ready character, data block.
    bool commandWithData(char letter, const QByteArray& data, int timeoutMs = 2000) {
        command(letter);
        if (receive(1, timeoutMs).size() != 1)
            return false;
        return send(QByteArray("\x03", 1) + data);
    }
    QByteArray query(char letter, qsizetype n, int timeoutMs = 2000) {
        command(letter);
        return request(n, timeoutMs);
    }

private:
    int fd_ = -1;
    bool hungUp_ = false;
};

inline QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (int v : values)
        result.append(static_cast<char>(v));
    return result;
}

// Starts a fresh simulator, configured first by `configure`, and opens a
// client on its device at the simulator's rate: how every test of the
// simulator begins.
inline QString StartSession(std::unique_ptr<LoggerSimulator>& sim,
                            std::unique_ptr<SimClient>& client,
                            const std::function<void(LoggerSimulator&)>& configure = {}) {
    sim = std::make_unique<LoggerSimulator>();
    if (configure)
        configure(*sim);
    std::string error;
    if (!sim->start(&error))
        return QString::fromStdString(error);
    client = std::make_unique<SimClient>(sim->devicePath(), sim->baudRate());
    return client->isOpen() ? QString() : QStringLiteral("the device did not open");
}
