#include "StopSignals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t signalled = 0;
int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: a flag and one byte down the pipe.
void OnStopSignal(int number) {
    signalled = 1;
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

bool CatchStopSignals() {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    // Calls the signal cuts short start again: a write or fsync under way
    // does not fail for it.
    struct sigaction stop = {};
    stop.sa_handler = OnStopSignal;
    sigemptyset(&stop.sa_mask);
    stop.sa_flags = SA_RESTART;
    // Only a second Ctrl-C ends the program at once, for someone who will not
    // wait; a hang-up or a service manager may send theirs twice.
    struct sigaction interrupt = stop;
    interrupt.sa_flags |= SA_RESETHAND;
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    return ::sigaction(SIGINT, &interrupt, nullptr) == 0 &&
           ::sigaction(SIGTERM, &stop, nullptr) == 0 && ::sigaction(SIGHUP, &stop, nullptr) == 0 &&
           ::sigaction(SIGPIPE, &ignore, nullptr) == 0;
}

bool StopSignalled() {
    return signalled != 0;
}

int StopSignalDescriptor() {
    return signalPipe[0];
}
