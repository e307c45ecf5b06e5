#include "Pty.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

std::string systemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

struct Speed {
    speed_t code;
    int rate;
};

constexpr Speed kSpeeds[] = {
    {B50, 50},       {B75, 75},         {B110, 110},       {B134, 134},       {B150, 150},
    {B200, 200},     {B300, 300},       {B600, 600},       {B1200, 1200},     {B1800, 1800},
    {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200},   {B38400, 38400},
    {B57600, 57600}, {B115200, 115200}, {B230400, 230400}, {B460800, 460800}, {B921600, 921600},
};

} // namespace

Pty::~Pty() {
    close();
}

bool Pty::open(std::string* error) {
    close();
    termios raw{};
    cfmakeraw(&raw);
    // Without raw mode the line discipline echoes the host's first bytes back
    // and turns "\r" into "\n".
    char name[PATH_MAX] = {};
    if (::openpty(&master_, &keeper_, name, &raw, nullptr) != 0) {
        if (error)
            *error = systemError("openpty");
        master_ = keeper_ = -1;
        return false;
    }
    path_ = name;
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(keeper_, F_SETFD, FD_CLOEXEC);
    watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_ < 0 ||
        ::inotify_add_watch(watch_, name, IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        if (error)
            *error = systemError("inotify");
        close();
        return false;
    }
    clients_ = 0;
    return true;
}

void Pty::close() {
    closeFd(watch_);
    closeFd(keeper_);
    closeFd(master_);
    clients_ = 0;
}

Pty::ClientEvents Pty::takeClientEvents() {
    alignas(inotify_event) char buffer[4096];
    ClientEvents events;
    for (;;) {
        const ssize_t n = ::read(watch_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & IN_OPEN) {
                if (clients_++ == 0)
                    events.arrived = true;
            } else if (event->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) {
                if (clients_ > 0 && --clients_ == 0)
                    events.dropped = true;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    // Once nobody has the port open, a later client must be able to open it;
    // while a client holds it, its exclusive mode stands (a second opener, say
    // a probe that came and went, does not lift it).
    if (clients_ == 0)
        ::ioctl(keeper_, TIOCNXCL);
    // Replies the last client left unread must not greet the next one (a real
    // port drops them at its last close). Only the direction towards the client
    // is flushed: a new client may already have sent its first command.
    if (events.dropped || events.arrived)
        ::tcflush(keeper_, TCIFLUSH);
    return events;
}

int Pty::clientLineRate() const {
    termios tio{};
    if (keeper_ < 0 || ::tcgetattr(keeper_, &tio) != 0)
        return 0;
    const speed_t code = ::cfgetospeed(&tio);
    for (const Speed& speed : kSpeeds) {
        if (speed.code == code)
            return speed.rate;
    }
    return 0;
}

} // namespace sim
