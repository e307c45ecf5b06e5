#pragma once

#include "OrvCommsInterface.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QTimer>

// One serial port, with waits for a length or a terminator and a Hayes modem
// dialogue on top. Everything runs on the caller's (user-interface) thread.
class OrvComms : public QObject, public OrvCommsInterface {
    Q_OBJECT
public:
    OrvComms();
    ~OrvComms() override;

    qint32 TimeOut() const override { return m_timeOut; }
    void setTimeOut(qint32 lNewTimeOut) override { m_timeOut = lNewTimeOut; }
    qint16 CommMethod() const override { return m_commMethod; }
    void setCommMethod(qint16 iNewMethod) override { m_commMethod = iNewMethod; }
    bool ReceiveInterrupt() const override { return m_receiveInterrupt; }
    void setReceiveInterrupt(bool bNewInterrupt) override { m_receiveInterrupt = bNewInterrupt; }
    qint16 CommPort() const override { return m_commPort; }
    void setCommPort(qint16 iNewPort) override { m_commPort = iNewPort; }
    qint32 BaudRate() const override;
    void setBaudRate(qint32 lNewBaud) override;
    float StopBits() const override;
    void setStopBits(qint16 iNewStop) override;
    qint16 OpenComms() override;
    qint16 CloseComms() override;
    QByteArray Flush() override;
    qint16 Send(const QByteArray& strMsg) override;
    QByteArray Receive(qint16 iLength) override;
    QByteArray ReceiveLine(const QByteArray& strTerminator) override;
    QByteArray ReceiveWithEvents(qint16 iLength) override;
    QByteArray ReceiveLineWithEvents(const QByteArray& strTerminator) override;
    qint16 ConnectToModem(const QByteArray& strInit, const QByteArray& strNumber,
                          QObject* oFeedBack) override;
    qint16 DisconnectFromModem() override;

    bool LinkLost() const override { return m_linkLost; }
    QString PortDevice(qint16 iPort) const override;
    QString Settings() const override { return m_settings; }

private:
    void SendByCharacter(const QByteArray& strMsg);
    void writeBytes(const QByteArray& bytes);
    void drainOutput(const QElapsedTimer& since, qint64 limitMs);
    QByteArray readWaiting();
    bool waitWithEvents(qint64 deadlineMs);
    void pauseWithEvents(int milliseconds);
    void applySettings();
    void noteError(QSerialPort::SerialPortError error);

    QSerialPort comComms;
    QTimer tmrComms;
    qint32 m_timeOut = 500;
    qint16 m_commMethod = 1;
    bool m_receiveInterrupt = false;
    qint16 m_commPort = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
    bool m_linkLost = false;
};
