#pragma once

#include <QSerialPort>
#include <QString>
#include <QtGlobal>

// Why a serial device did not open, as the CommsError numbers OpenComms
// returns. QSerialPort folds most failures into one permission error, so the
// device is looked at directly first.

// The cause behind the errno of a failed open(2) of the device.
qint16 OpenErrorFromErrno(int error);

// The cause behind a failed QSerialPort::open once ProbeSerialDevice has
// passed: the device is there and may be opened, so a permission error is
// another program's lock file.
qint16 OpenErrorFromSerialPort(QSerialPort::SerialPortError error);

// Opens the device once, as a serial library would, and closes it again:
// 0 when it exists, may be opened and is a terminal, else the CommsError
// number of what is wrong with it.
qint16 ProbeSerialDevice(const QString& device);
