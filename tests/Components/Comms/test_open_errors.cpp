// Why a port did not open: every failure shows the same "Invalid port number"
// box, and OpenComms returns the cause. The errno and QSerialPort tables on
// their own, then real devices behind a port number.
#include "CommsFixture.h"
#include "ModalAnswerer.h"
#include "PortOpenError.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Names port 4 after path and opens it; checks the box that every failure shows.
qint16 OpenPortFour(OrvCommsInterface& comms, const QString& path) {
    QSettings store(QSettings::IniFormat, QSettings::UserScope, "OrvType1", "OrvType1");
    store.setValue("Comms/Device4", path);
    store.sync();
    comms.setCommPort(4);
    ModalAnswerer answerer;
    const qint16 result = comms.OpenComms();
    if (result != 0) {
        if (answerer.count() != 1 || answerer.lastTitle() != "Error" ||
            answerer.lastText() != "Invalid port number" ||
            answerer.lastIcon() != QMessageBox::Warning)
            return -1;
    } else if (answerer.count() != 0) {
        return -1;
    }
    return result;
}

} // namespace

class TestOpenErrors : public QObject {
    Q_OBJECT

private slots:
    void fromErrno_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("code");
        QTest::newRow("ENOENT") << ENOENT << int(CommsError::InvalidPort);
        QTest::newRow("ENODEV") << ENODEV << int(CommsError::InvalidPort);
        QTest::newRow("ENXIO") << ENXIO << int(CommsError::InvalidPort);
        QTest::newRow("EIO") << EIO << int(CommsError::InvalidPort);
        QTest::newRow("EACCES") << EACCES << int(CommsError::PermissionDenied);
        QTest::newRow("EPERM") << EPERM << int(CommsError::PermissionDenied);
        QTest::newRow("EBUSY") << EBUSY << int(CommsError::PortInUse);
        QTest::newRow("ENOTTY") << ENOTTY << int(CommsError::NotASerialPort);
        QTest::newRow("EISDIR") << EISDIR << int(CommsError::NotASerialPort);
    }
    void fromErrno() {
        QFETCH(int, error);
        QFETCH(int, code);
        QCOMPARE(int(OpenErrorFromErrno(error)), code);
    }

    // After the device itself opened, QSerialPort's permission error is its
    // lock file, held by another program.
    void fromSerialPort_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("code");
        QTest::newRow("permission")
            << int(QSerialPort::PermissionError) << int(CommsError::PortInUse);
        QTest::newRow("not found")
            << int(QSerialPort::DeviceNotFoundError) << int(CommsError::InvalidPort);
        QTest::newRow("open already")
            << int(QSerialPort::OpenError) << int(CommsError::PortAlreadyOpen);
        QTest::newRow("unsupported")
            << int(QSerialPort::UnsupportedOperationError) << int(CommsError::InvalidPort);
    }
    void fromSerialPort() {
        QFETCH(int, error);
        QFETCH(int, code);
        QCOMPARE(int(OpenErrorFromSerialPort(QSerialPort::SerialPortError(error))), code);
    }

    // Devices that are missing or no serial port; "<tmp>" is a fresh folder.
    void devices_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("code");
        QTest::newRow("missing") << "/dev/no-such-serial-device" << int(CommsError::InvalidPort);
        QTest::newRow("dangling link") << "<tmp>/dangling" << int(CommsError::InvalidPort);
        QTest::newRow("regular file") << "<tmp>/file" << int(CommsError::NotASerialPort);
        QTest::newRow("folder") << "<tmp>" << int(CommsError::NotASerialPort);
        QTest::newRow("null device") << "/dev/null" << int(CommsError::NotASerialPort);
    }
    void devices() {
        QFETCH(QString, path);
        QFETCH(int, code);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("dangling")));
        auto comms = CreateOrvComms();
        QVERIFY(comms);
        QCOMPARE(int(OpenPortFour(*comms, path.replace("<tmp>", dir.path()))), code);
        QVERIFY(comms->Receive(1).isEmpty()); // the port stayed closed
    }

    // Port 0 names no device at all.
    void noDeviceName() {
        auto comms = CreateOrvComms();
        comms->setCommPort(0);
        ModalAnswerer answerer;
        QCOMPARE(comms->OpenComms(), CommsError::InvalidPort);
        QCOMPARE(answerer.lastText(), QString("Invalid port number"));
    }

    // Another program has the logger's port: in use, whoever we are (root
    // passes exclusive mode, but not the other program's lock file). Once it
    // lets go, the port opens.
    void portHeldByAnotherProgram() {
        LoggerSimulator sim;
        std::string error;
        QVERIFY2(sim.start(&error), error.c_str());
        const QString device = QString::fromStdString(sim.devicePath());
        QProcess holder;
        holder.start(QCoreApplication::applicationDirPath() + "/comms_port_holder", {device});
        QVERIFY(holder.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(holder.canReadLine(), 5000);
        QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));

        auto comms = CreateOrvComms();
        QCOMPARE(OpenPortFour(*comms, device), CommsError::PortInUse);

        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(5000));
        // The pty lifts exclusive mode once it has seen the close.
        qint16 opened = -1;
        for (int i = 0; i < 30 && opened != 0; ++i) {
            opened = OpenPortFour(*comms, device);
            if (opened != 0)
                QTest::qWait(100);
        }
        QCOMPARE(opened, qint16(0));
        comms->Send("\x01/\x02");
        QCOMPARE(comms->Receive(1), QByteArray("k"));
    }

    // A device this user may not open. Root may open anything, so this runs
    // only for an ordinary user, on the simulator's pty with its modes taken away.
    void permissionDenied() {
        if (::geteuid() == 0)
            QSKIP("root is never refused a device");
        LoggerSimulator sim;
        std::string error;
        QVERIFY2(sim.start(&error), error.c_str());
        const std::string device = sim.devicePath();
        struct stat st {};
        QCOMPARE(::stat(device.c_str(), &st), 0);
        QCOMPARE(::chmod(device.c_str(), 0), 0);
        auto comms = CreateOrvComms();
        const qint16 result = OpenPortFour(*comms, QString::fromStdString(device));
        ::chmod(device.c_str(), st.st_mode & 07777);
        QCOMPARE(result, CommsError::PermissionDenied);
    }
};

QTEST_MAIN(TestOpenErrors)
#include "test_open_errors.moc"
