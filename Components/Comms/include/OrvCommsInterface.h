#pragma once

#include <QByteArray>
#include <QString>
#include <QtPlugin>

class QObject;

// What OpenComms returns when the port did not open. Whatever the cause, the
// class says "Invalid port number"; the number tells the caller why.
namespace CommsError {
constexpr qint16 InvalidPort = 8002;      // no such device
constexpr qint16 PortAlreadyOpen = 8005;  // this object's port is open already
constexpr qint16 PermissionDenied = 8015; // the user may not open the device
constexpr qint16 PortInUse = 8016;        // another program holds the device
constexpr qint16 NotASerialPort = 8017;   // the device exists but is no serial port
} // namespace CommsError

// The serial-port-and-modem class of Comlane as the host sees it. The virtual
// functions keep the class's dispatch slot order, which the host binds to;
// additions of this platform come after the last slot.
//
// Strings on the wire are byte strings: every byte 0 to 255 is one character.
class OrvCommsInterface {
public:
    virtual ~OrvCommsInterface() = default;

    virtual qint32 TimeOut() const = 0;
    virtual void setTimeOut(qint32 lNewTimeOut) = 0;
    virtual qint16 CommMethod() const = 0;
    virtual void setCommMethod(qint16 iNewMethod) = 0;
    virtual bool ReceiveInterrupt() const = 0;
    virtual void setReceiveInterrupt(bool bNewInterrupt) = 0;
    virtual qint16 CommPort() const = 0;
    virtual void setCommPort(qint16 iNewPort) = 0;
    virtual qint32 BaudRate() const = 0;
    virtual void setBaudRate(qint32 lNewBaud) = 0;
    virtual float StopBits() const = 0;
    virtual void setStopBits(qint16 iNewStop) = 0;
    virtual qint16 OpenComms() = 0;
    virtual qint16 CloseComms() = 0;
    virtual QByteArray Flush() = 0;
    virtual qint16 Send(const QByteArray& strMsg) = 0;
    virtual QByteArray Receive(qint16 iLength) = 0;
    virtual QByteArray ReceiveLine(const QByteArray& strTerminator) = 0;
    virtual QByteArray ReceiveWithEvents(qint16 iLength) = 0;
    virtual QByteArray ReceiveLineWithEvents(const QByteArray& strTerminator) = 0;
    // oFeedBack: any object with a readable and writable QString property "Text".
    virtual qint16 ConnectToModem(const QByteArray& strInit, const QByteArray& strNumber,
                                  QObject* oFeedBack) = 0;
    virtual qint16 DisconnectFromModem() = 0;

    // True once a read or write on the open port has failed (an unplugged
    // adapter, a vanished far end): receives then return at once. Cleared by
    // OpenComms.
    virtual bool LinkLost() const = 0;
    // The device that port number iPort opens: settings "Comms"/"Device"+n of
    // the host's store, else /dev/ttyS(n-1).
    virtual QString PortDevice(qint16 iPort) const = 0;
    // The settings text "baud,parity,data bits,stop bits".
    virtual QString Settings() const = 0;
};

// The plugin's root object: creating the class is asking the factory.
class ComlaneFactory {
public:
    virtual ~ComlaneFactory() = default;
    // A new OrvComms object; the caller owns it.
    virtual OrvCommsInterface* createOrvComms() = 0;
};

#define ComlaneFactory_iid "com.orvane.Comlane.ComlaneFactory/1.0"
Q_DECLARE_INTERFACE(ComlaneFactory, ComlaneFactory_iid)
