#pragma once

#include <string>

// The pseudo-terminal the host takes for the logger's serial port. The host
// opens the slave side; the simulator serves on the master side.
//
// The simulator keeps one slave descriptor of its own for the pty's whole life:
// a serial library sets exclusive mode (TIOCEXCL) on the slave and the kernel
// keeps it after that client closes, so only a holder of a slave descriptor can
// clear it (TIOCNXCL) for the next client when it is not root. Our descriptor
// also means the master never reports a hang-up; clients coming and going are
// seen through inotify open and close events on the slave's device node.
namespace sim {

class Pty {
public:
    Pty() = default;
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool open(std::string* error);
    void close();
    bool isOpen() const { return master_ >= 0; }

    int masterFd() const { return master_; }
    int clientWatchFd() const { return watch_; }
    const std::string& devicePath() const { return path_; }

    struct ClientEvents {
        bool dropped = false; // the last client has closed the device
        bool arrived = false; // a client opened it when nobody had it open
    };
    // Reads the pending open and close events.
    ClientEvents takeClientEvents();

    // The rate the client has set on its end (its termios output speed), in
    // bits per second; 0 when it set none (B0) or one we do not know.
    int clientLineRate() const;

private:
    int master_ = -1;
    int keeper_ = -1;
    int watch_ = -1;
    int clients_ = 0;
    std::string path_;
};

} // namespace sim
