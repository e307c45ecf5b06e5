// qn7x-sim: a QN-7x logger on a pseudo-terminal for the demo, manual tests and
// the benchmarks. Prints the device path on the first line, then takes control
// lines on standard input until "quit", the end of that input, or a signal.
#include "ControlLine.h"
#include "LoggerSimulator.h"
#include "ProgramOptions.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <poll.h>
#include <string>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A fresh symlink at path; an existing symlink is replaced, anything else is kept.
bool makeLink(const std::string& path, const std::string& target, std::string* error) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            *error = path + " exists and is not a symbolic link";
            return false;
        }
        ::unlink(path.c_str());
    }
    if (::symlink(target.c_str(), path.c_str()) != 0) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// The day before the logger's clock, midnight to midnight.
sim::DayOfDataOptions yesterday(const sim::DateTime& now) {
    sim::DayOfDataOptions options;
    const sim::DateTime midnight{now.year, now.month, now.day, 0, 0, 0};
    options.start = sim::fromSeconds(sim::toSeconds(midnight) - 86400);
    return options;
}

// Reads control lines until quit, end of input after a line, or a signal. Input
// that ends before any line (started with </dev/null) is no control channel.
void runControlChannel(LoggerSimulator& simulator, int signals) {
    pollfd fds[2] = {{signals, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    nfds_t count = 2;
    bool anyLine = false;
    std::string pending;
    for (;;) {
        if (::poll(fds, count, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[0].revents & POLLIN)
            return;
        if (count < 2 || !(fds[1].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char buffer[512];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            if (anyLine)
                return;
            count = 1; // wait for a signal only
            continue;
        }
        pending.append(buffer, static_cast<std::size_t>(n));
        for (auto eol = pending.find('\n'); eol != std::string::npos; eol = pending.find('\n')) {
            const std::string line = pending.substr(0, eol);
            pending.erase(0, eol + 1);
            anyLine = true;
            const sim::ControlResult result = sim::applyControlLine(simulator, line);
            if (!result.error.empty())
                std::cerr << "qn7x-sim: " << result.error << std::endl;
            if (result.output)
                std::cout << *result.output << std::endl;
            if (result.quit)
                return;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options =
        sim::parseProgramOptions(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::cerr << "qn7x-sim: " << error << "\n" << sim::kUsage;
        return 2;
    }
    if (options->help) {
        std::cout << sim::kUsage;
        return 0;
    }

    // Signals arrive through a descriptor; block them before the serving thread
    // starts so that it inherits the mask.
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGINT);
    sigaddset(&mask, SIGTERM);
    sigaddset(&mask, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &mask, nullptr);
    const int signals = ::signalfd(-1, &mask, SFD_CLOEXEC);
    std::signal(SIGPIPE, SIG_IGN);

    LoggerSimulator simulator;
    simulator.setBaudRate(options->baud);
    simulator.setLatencyMs(options->latencyMs);
    simulator.setModemMode(options->modem);
    for (const sim::DialRule& rule : options->dialRules) {
        if (rule.number.empty())
            simulator.setDefaultDialOutcome(rule.outcome);
        else
            simulator.setDialOutcome(rule.number, rule.outcome);
    }
    if (options->fillMemory)
        simulator.model().fillMemory(yesterday(simulator.model().clock()));
    if (!simulator.start(&error)) {
        std::cerr << "qn7x-sim: " << error << "\n";
        return 1;
    }
    if (!options->link.empty() && !makeLink(options->link, simulator.devicePath(), &error)) {
        std::cerr << "qn7x-sim: " << error << "\n";
        return 1;
    }
    simulator.setFault(options->fault, options->faultParam);

    std::cout << simulator.devicePath() << std::endl;
    runControlChannel(simulator, signals);

    simulator.stop();
    if (!options->link.empty())
        ::unlink(options->link.c_str());
    return 0;
}
