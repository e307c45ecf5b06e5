#include "PortOpenFailure.h"

#include "OrvCommsInterface.h"

QString PortOpenFailureText(const QString& device, qint16 error) {
    switch (error) {
    case CommsError::PermissionDenied:
        return "You are not allowed to open the serial port " + device +
               ".\r\rAsk your administrator to add your user to the \"dialout\" group "
               "(sudo adduser $USER dialout),\rthen log out and log in again.";
    case CommsError::PortInUse:
        return "The serial port " + device +
               " is in use by another program.\r\rClose that program, or choose another "
               "port, and link again.";
    case CommsError::NotASerialPort:
        return device + " is not a serial port.\r\rChoose the device of your serial adapter "
                        "under Options, Port Devices.";
    case CommsError::PortAlreadyOpen:
        return "The serial port " + device + " is already open in this program.";
    default:
        return "The serial port " + device + " could not be opened (error " +
               QString::number(error) + ").";
    }
}
