#include "SerialLine.h"

#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>

void MakeLineRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return;
    cfmakeraw(&tio);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cflag |= CLOCAL | CREAD | HUPCL;
    tio.c_cflag &= ~CRTSCTS;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &tio);
}

void RequestLowLatency(int fd) {
    serial_struct serial{};
    if (ioctl(fd, TIOCGSERIAL, &serial) != 0)
        return;
    serial.flags |= ASYNC_LOW_LATENCY;
    ioctl(fd, TIOCSSERIAL, &serial);
}

void DropDtr(int fd) {
    const int dtr = TIOCM_DTR;
    ioctl(fd, TIOCMBIC, &dtr);
}

int PendingOutput(int fd) {
    int count = 0;
    if (ioctl(fd, TIOCOUTQ, &count) != 0)
        return 0;
    return count;
}

void WaitForTransmitter(int fd) {
    tcdrain(fd);
}

bool LineHungUp(int fd) {
    pollfd p{fd, 0, 0}; // hang-ups and errors are reported whatever is asked
    return ::poll(&p, 1, 0) < 0 || (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}
