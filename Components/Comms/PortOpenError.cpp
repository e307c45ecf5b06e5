#include "PortOpenError.h"

#include "OrvCommsInterface.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

qint16 OpenErrorFromErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return CommsError::PermissionDenied;
    case EBUSY: // another program set exclusive mode on the terminal
        return CommsError::PortInUse;
    case ENOTTY:
    case EISDIR:
        return CommsError::NotASerialPort;
    default: // ENOENT, ENODEV, ENXIO and anything else that keeps it shut
        return CommsError::InvalidPort;
    }
}

qint16 OpenErrorFromSerialPort(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::PermissionError: // QSerialPort's lock file in /var/lock
        return CommsError::PortInUse;
    case QSerialPort::OpenError:
        return CommsError::PortAlreadyOpen;
    default:
        return CommsError::InvalidPort;
    }
}

qint16 ProbeSerialDevice(const QString& device) {
    if (device.isEmpty())
        return CommsError::InvalidPort;
    const QByteArray path = QFile::encodeName(device);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return OpenErrorFromErrno(errno);
    // A file or a folder is never a port, even one this user may not open.
    if (!S_ISCHR(st.st_mode))
        return CommsError::NotASerialPort;
    // Non-blocking: a port without carrier must not hold the open.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return OpenErrorFromErrno(errno);
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal ? 0 : CommsError::NotASerialPort;
}
