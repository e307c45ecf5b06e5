#include "OrvComms.h"

#include "PortOpenError.h"
#include "SerialLine.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QSettings>

namespace {

constexpr qint32 DialTimeOut = 60000;
constexpr qint32 HangUpTimeOut = 20000;
constexpr qint32 DefaultTimeOut = 500;
constexpr int GuardTimeMs = 1100;
// Long enough for the line feed after a result line even at 1200 baud.
constexpr qint32 LineEndTimeOut = 100;
// The longest a character-by-character send waits for the line to take its
// characters, for the whole string, whatever TimeOut is.
constexpr qint64 SendDrainLimitMs = 2000;

// Every open failure shows the same box; the number returned tells why. A
// program without a user interface (no QApplication, such as the unattended
// download) has no one to show it to and logs the cause from that number.
qint16 RefuseOpen(qint16 cause) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QMessageBox::warning(nullptr, "Error", "Invalid port number");
    return cause;
}

void AppendFeedback(QObject* feedBack, const QByteArray& text) {
    if (feedBack)
        feedBack->setProperty("Text",
                              feedBack->property("Text").toString() + QString::fromLatin1(text));
}

} // namespace

OrvComms::OrvComms() {
    tmrComms.setSingleShot(true);            // a tick only ends the wait
    tmrComms.setTimerType(Qt::PreciseTimer); // TimeOut is a deadline, not a hint
    connect(&comComms, &QSerialPort::errorOccurred, this, &OrvComms::noteError);
}

OrvComms::~OrvComms() {
    if (comComms.isOpen())
        CloseComms();
}

qint32 OrvComms::BaudRate() const {
    return m_settings.section(',', 0, 0).trimmed().toInt();
}

void OrvComms::setBaudRate(qint32 lNewBaud) {
    if (lNewBaud <= 0)
        return; // a value the port cannot take leaves the settings as they are
    const qsizetype comma = m_settings.indexOf(',');
    m_settings = QString::number(lNewBaud) + (comma >= 0 ? m_settings.mid(comma) : QString());
    if (comComms.isOpen())
        applySettings();
}

float OrvComms::StopBits() const {
    return m_settings.section(',', -1).trimmed().toFloat();
}

void OrvComms::setStopBits(qint16 iNewStop) {
    const qsizetype comma = m_settings.lastIndexOf(',');
    if ((iNewStop != 1 && iNewStop != 2) || comma < 0)
        return;
    m_settings = m_settings.left(comma + 1) + QString::number(iNewStop);
    if (comComms.isOpen())
        applySettings();
}

QString OrvComms::PortDevice(qint16 iPort) const {
    if (iPort < 1)
        return {};
    QSettings store(QSettings::IniFormat, QSettings::UserScope, "OrvType1", "OrvType1");
    const QString named = store.value("Comms/Device" + QString::number(iPort)).toString();
    return named.isEmpty() ? "/dev/ttyS" + QString::number(iPort - 1) : named;
}

void OrvComms::applySettings() {
    comComms.setBaudRate(BaudRate());
    comComms.setDataBits(QSerialPort::Data8);
    comComms.setParity(QSerialPort::NoParity);
    comComms.setStopBits(StopBits() >= 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    comComms.setFlowControl(QSerialPort::NoFlowControl);
}

qint16 OrvComms::OpenComms() {
    if (comComms.isOpen())
        return RefuseOpen(CommsError::PortAlreadyOpen);
    const QString device = PortDevice(m_commPort);
    if (const qint16 cause = ProbeSerialDevice(device))
        return RefuseOpen(cause);
    comComms.setPortName(device);
    applySettings();
    if (!comComms.open(QIODevice::ReadWrite))
        return RefuseOpen(OpenErrorFromSerialPort(comComms.error()));
    const int fd = int(comComms.handle());
    MakeLineRaw(fd);
    RequestLowLatency(fd);
    m_linkLost = false;
    return 0;
}

qint16 OrvComms::CloseComms() {
    if (comComms.isOpen()) {
        const int fd = int(comComms.handle());
        // The last bytes sent (the logger's unlink) must be on the line before
        // the port's earlier speed comes back, or the logger hears them garbled.
        QElapsedTimer elapsed;
        elapsed.start();
        drainOutput(elapsed, SendDrainLimitMs);
        if (!m_linkLost && comComms.bytesToWrite() == 0 && PendingOutput(fd) == 0)
            WaitForTransmitter(fd);
        // The port's earlier settings come back on close, perhaps without
        // HUPCL: drop DTR first, so that closing always ends a modem call.
        DropDtr(fd);
        comComms.close();
    }
    return 0;
}

void OrvComms::noteError(QSerialPort::SerialPortError error) {
    // A pty whose far end has gone reports a read error and stays "open";
    // an unplugged adapter reports a resource error. Either way the link is gone.
    // A full output queue is reported as a resource error too, but the line is
    // still there and takes the rest once the far end reads again.
    if (error == QSerialPort::ReadError || error == QSerialPort::WriteError)
        m_linkLost = true;
    else if (error == QSerialPort::ResourceError)
        m_linkLost = m_linkLost || !comComms.isOpen() || LineHungUp(int(comComms.handle()));
}

QByteArray OrvComms::readWaiting() {
    if (!comComms.isOpen())
        return {};
    comComms.waitForReadyRead(0); // pull what the driver holds into the port's buffer
    return comComms.readAll();
}

QByteArray OrvComms::Flush() {
    return readWaiting();
}

void OrvComms::writeBytes(const QByteArray& bytes) {
    if (!comComms.isOpen() || m_linkLost)
        return;
    if (comComms.write(bytes) < 0)
        m_linkLost = true;
    else
        comComms.flush();
}

qint16 OrvComms::Send(const QByteArray& strMsg) {
    if (m_commMethod == 1)
        writeBytes(strMsg);
    else
        SendByCharacter(strMsg);
    return 0;
}

void OrvComms::SendByCharacter(const QByteArray& strMsg) {
    // One bound for the whole string: a stalled or unplugged port holds the
    // caller a couple of seconds at most (TimeOut is 20 s during a hang-up),
    // and the next receive reports the silence.
    QElapsedTimer elapsed;
    elapsed.start();
    for (char c : strMsg) {
        writeBytes(QByteArray(1, c));
        drainOutput(elapsed, SendDrainLimitMs);
    }
}

void OrvComms::drainOutput(const QElapsedTimer& since, qint64 limitMs) {
    const int fd = int(comComms.handle());
    while (comComms.isOpen() && !m_linkLost &&
           (comComms.bytesToWrite() > 0 || PendingOutput(fd) > 0) && since.elapsed() < limitMs) {
        comComms.flush();
        pauseWithEvents(1);
    }
}

void OrvComms::pauseWithEvents(int milliseconds) {
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (qint64 left = milliseconds; left > 0; left = milliseconds - elapsed.elapsed()) {
        wake.start(int(left));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

QByteArray OrvComms::Receive(qint16 iLength) {
    if (m_commMethod != 1)
        return ReceiveWithEvents(iLength);
    if (!comComms.isOpen())
        return {};
    // Returns as soon as enough has arrived; TimeOut is a real deadline in ms.
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        if (comComms.bytesAvailable() >= iLength && elapsed.elapsed() < qMax(m_timeOut, 1))
            return comComms.readAll();
        const qint64 left = m_timeOut - elapsed.elapsed();
        if (left <= 0 || m_linkLost)
            return {}; // what did arrive stays in the receive buffer
        comComms.waitForReadyRead(int(left));
    }
}

QByteArray OrvComms::ReceiveLine(const QByteArray& strTerminator) {
    if (!comComms.isOpen())
        return {};
    QElapsedTimer elapsed;
    elapsed.start();
    QByteArray result;
    for (;;) {
        result += comComms.readAll();
        if (result.contains(strTerminator))
            return result;
        const qint64 left = m_timeOut - elapsed.elapsed();
        if (left <= 0 || m_linkLost)
            return {};
        comComms.waitForReadyRead(int(left));
    }
}

QByteArray OrvComms::ReceiveWithEvents(qint16 iLength) {
    tmrComms.start(qMax(m_timeOut, 0));
    while (comComms.isOpen() && !m_linkLost && comComms.bytesAvailable() < iLength &&
           !m_receiveInterrupt && tmrComms.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QByteArray result = readWaiting();
    // A reply completed in the same pass as the tick is kept: only a real
    // shortfall, an interrupt or a lost link gives the empty string.
    const bool shortfall = result.size() < iLength;
    if (m_receiveInterrupt || m_linkLost || !comComms.isOpen() ||
        (!tmrComms.isActive() && shortfall)) {
        result.clear();
        m_receiveInterrupt = false;
    }
    tmrComms.stop();
    return result;
}

QByteArray OrvComms::ReceiveLineWithEvents(const QByteArray& strTerminator) {
    tmrComms.start(qMax(m_timeOut, 0));
    QByteArray result;
    while (comComms.isOpen() && !m_linkLost && !m_receiveInterrupt && tmrComms.isActive()) {
        result += comComms.readAll();
        if (result.contains(strTerminator))
            break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // A line completed in the same pass as the tick is kept.
    if (!m_receiveInterrupt && !result.contains(strTerminator))
        result += readWaiting();
    if (m_receiveInterrupt || m_linkLost || !comComms.isOpen() || !result.contains(strTerminator)) {
        result.clear();
        m_receiveInterrupt = false;
    }
    tmrComms.stop();
    return result;
}

qint16 OrvComms::ConnectToModem(const QByteArray& strInit, const QByteArray& strNumber,
                                QObject* oFeedBack) {
    if (m_commMethod != 2)
        return 1;
    if (oFeedBack)
        oFeedBack->setProperty("Text", QStringLiteral("ATE0\r\n"));
    SendByCharacter("ATE0\r");
    AppendFeedback(oFeedBack, ReceiveLineWithEvents("\r"));

    AppendFeedback(oFeedBack, strInit + "\r\n");
    SendByCharacter(strInit + "\r");
    AppendFeedback(oFeedBack, ReceiveLineWithEvents("\r"));

    AppendFeedback(oFeedBack, "ATDT" + strNumber + "\r\n");
    SendByCharacter("ATDT" + strNumber + "\r");

    const qint32 remembered = m_timeOut;
    m_timeOut = DialTimeOut;
    qint16 result = -1;
    while (result < 0) {
        const QByteArray reply = ReceiveLineWithEvents("\r");
        AppendFeedback(oFeedBack, reply);
        if (reply.isEmpty()) {
            AppendFeedback(oFeedBack, "ATH\r\n");
            SendByCharacter("ATH\r");
            AppendFeedback(oFeedBack, ReceiveWithEvents(6));
            result = 2;
            break;
        }
        if (reply.contains("CONN"))
            result = 0;
        if (reply.contains("NO CARRIER") || reply.contains("BUSY"))
            result = 3;
    }
    if (result == 0) {
        // The connect line ends in a line feed still on its way; left waiting,
        // it would be read as the first byte of the logger's first reply.
        m_timeOut = LineEndTimeOut;
        AppendFeedback(oFeedBack, ReceiveWithEvents(1));
    }
    m_timeOut = remembered;
    return result;
}

qint16 OrvComms::DisconnectFromModem() {
    if (m_commMethod != 2)
        return 0;
    m_timeOut = HangUpTimeOut;
    pauseWithEvents(GuardTimeMs);
    Send("+++");
    pauseWithEvents(GuardTimeMs);
    ReceiveWithEvents(6);
    SendByCharacter("ATH\r");
    ReceiveWithEvents(6);
    m_timeOut = DefaultTimeOut;
    return 0;
}
