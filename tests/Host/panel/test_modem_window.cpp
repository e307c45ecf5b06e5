// The modem window: captions, InitialiseForm, the stored number list, and
// dialling the simulated logger's modem over a pseudo-terminal: connect, busy,
// no carrier, Cancel during a dial and outside one, the close box.
#include "Controls.h"
#include "Framing.h"
#include "LoggerSimulator.h"
#include "MessageAnswerer.h"
#include "frmModem.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

using Outcome = LoggerSimulator::DialOutcome;
using Answer = MessageAnswerer::Answer;

namespace {

QSettings Store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "OrvType1", "OrvType1");
}

// Port 1 opened on a fresh simulated logger behind a modem.
struct ModemLine {
    LoggerSimulator sim;

    bool open(qint16 method = 2) {
        sim.setModemMode(true);
        std::string error;
        if (!sim.start(&error)) {
            qWarning("simulator: %s", error.c_str());
            return false;
        }
        {
            QSettings store = Store();
            store.setValue("Comms/Device1", QString::fromStdString(sim.devicePath()));
        }
        OrvCommsInterface* link = CommsLink();
        if (!link)
            return false;
        link->setCommPort(1);
        link->setCommMethod(method);
        return link->OpenComms() == 0;
    }
    ~ModemLine() {
        if (OrvCommsInterface* link = CommsLink())
            link->CloseComms();
    }
    QByteArray wire() const { return QByteArray::fromStdString(sim.hostBytes()); }
};

bool EntryEnabled(const frmModem& window) {
    return Control<QPushButton>(&window, "cmdDial")->isEnabled() &&
           Control<QComboBox>(&window, "cboNumber")->isEnabled() &&
           Control<QLineEdit>(&window, "txtInitialisation")->isEnabled();
}

} // namespace

class TestModemWindow : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QSettings store = Store();
        store.remove("Modem");
    }

    void captions() {
        frmModem window;
        QCOMPARE(window.objectName(), QString("frmModem"));
        QCOMPARE(window.windowTitle(), QString("Modem Setup and Connection..."));
        QCOMPARE(Control<QLabel>(&window, "lblExplanation")->text(),
                 QString("Please enter the phone number of the modem to dial, as well as the "
                         "initialisation string for the modem.  To attempt to link, click on "
                         "\"Dial\" . Otherwise, click on \"Cancel\"."));
        QCOMPARE(window.findChild<QLabel*>("lblNumber")->text(), QString("Number to dial :"));
        QCOMPARE(window.findChild<QLabel*>("lblInitialisation")->text(),
                 QString("Initialisation String :"));
        QCOMPARE(window.findChild<QPushButton*>("cmdDial")->text(), QString("Dial"));
        QCOMPARE(window.findChild<QPushButton*>("cmdCancel")->text(), QString("Cancel"));
        QVERIFY(window.findChild<QComboBox*>("cboNumber")->isEditable());
        QVERIFY(window.findChild<QPlainTextEdit*>("txtTerminal")->isReadOnly());
        // The design text, until start-up hands over the stored string.
        QCOMPARE(window.findChild<QLineEdit*>("txtInitialisation")->text(), QString("ATE0"));
        QCOMPARE(window.outcome(), frmModem::Cancelled);
    }

    void initialiseForm_data() {
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("list");
        QTest::newRow("no numbers") << QStringList{"-1", "-1", "-1", "-1"} << 0 << QStringList{};
        QTest::newRow("one") << QStringList{"5550100", "-1", "-1", "-1"} << 1
                             << QStringList{"5550100"};
        QTest::newRow("all four") << QStringList{"1", "2", "3", "4"} << 4
                                  << QStringList{"1", "2", "3", "4"};
        QTest::newRow("count below the list")
            << QStringList{"1", "2", "3", "4"} << 2 << QStringList{"1", "2"};
        QTest::newRow("empty slot between") << QStringList{"5550100", "-1", "5550199", "-1"} << 3
                                            << QStringList{"5550100", "5550199"};
        QTest::newRow("count beyond the numbers")
            << QStringList{"1", "2"} << 4 << QStringList{"1", "2"};
        QTest::newRow("negative count") << QStringList{"1", "2", "3", "4"} << -3 << QStringList{};
    }
    void initialiseForm() {
        QFETCH(QStringList, numbers);
        QFETCH(int, count);
        QFETCH(QStringList, list);
        frmModem window;
        Control<QComboBox>(&window, "cboNumber")->addItem("stale");
        window.InitialiseForm("ATX4", numbers, count);
        QCOMPARE(Control<QLineEdit>(&window, "txtInitialisation")->text(), QString("ATX4"));
        QStringList shown;
        for (int i = 0; i < Control<QComboBox>(&window, "cboNumber")->count(); ++i)
            shown << Control<QComboBox>(&window, "cboNumber")->itemText(i);
        QCOMPARE(shown, list);
        QCOMPARE(Control<QComboBox>(&window, "cboNumber")->currentText(), list.value(0));
        QVERIFY(!window.dialling());
    }

    void readModemNumbers_data() {
        QTest::addColumn<QStringList>("stored"); // Number1..4, "" = not stored
        QTest::addColumn<QString>("initialisation");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<int>("count");
        QTest::newRow("nothing stored")
            << QStringList{"", "", "", ""} << "" << QStringList{"-1", "-1", "-1", "-1"} << 0;
        QTest::newRow("slots 1 and 3") << QStringList{"111", "-1", "333", "-1"} << "ATX4"
                                       << QStringList{"111", "-1", "333", "-1"} << 3;
        QTest::newRow("slot 4 only")
            << QStringList{"", "", "", "444"} << "" << QStringList{"-1", "-1", "-1", "444"} << 4;
        QTest::newRow("full") << QStringList{"1", "2", "3", "4"} << "AT&F"
                              << QStringList{"1", "2", "3", "4"} << 4;
    }
    void readModemNumbers() {
        QFETCH(QStringList, stored);
        QFETCH(QString, initialisation);
        {
            QSettings store = Store();
            for (int slot = 1; slot <= 4; ++slot) {
                if (!stored[slot - 1].isEmpty())
                    store.setValue("Modem/Number" + QString::number(slot), stored[slot - 1]);
            }
            if (!initialisation.isEmpty())
                store.setValue("Modem/Initialisation", initialisation);
        }
        const ModemNumbers read = ReadModemNumbers();
        QTEST(read.numbers, "numbers");
        QTEST(read.count, "count");
        QCOMPARE(read.initialisation, initialisation);
    }

    // The dialled number moves to the top, those above its old place move
    // down one; a new number pushes slot 4 out (into "Number5").
    void storeModemNumbers_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("dialled");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("number5");
        const QStringList four{"111", "222", "333", "444"};
        QTest::newRow("slot 3 dialled")
            << four << "333" << QStringList{"333", "111", "222", "444"} << "";
        QTest::newRow("slot 1 dialled") << four << "111" << four << "";
        QTest::newRow("slot 4 dialled")
            << four << "444" << QStringList{"444", "111", "222", "333"} << "";
        QTest::newRow("new number")
            << four << "555" << QStringList{"555", "111", "222", "333"} << "444";
        QTest::newRow("first number ever")
            << QStringList{"", "", "", ""} << "555" << QStringList{"555", "-1", "-1", "-1"} << "-1";
    }
    void storeModemNumbers() {
        QFETCH(QStringList, before);
        QFETCH(QString, dialled);
        QFETCH(QStringList, after);
        QFETCH(QString, number5);
        {
            QSettings store = Store();
            for (int slot = 1; slot <= 4; ++slot) {
                if (!before[slot - 1].isEmpty())
                    store.setValue("Modem/Number" + QString::number(slot), before[slot - 1]);
            }
        }
        StoreModemNumbers("ATX4", dialled);
        QSettings store = Store();
        QStringList stored;
        for (int slot = 1; slot <= 4; ++slot)
            stored << store.value("Modem/Number" + QString::number(slot)).toString();
        QCOMPARE(stored, after);
        QCOMPARE(store.value("Modem/Number5").toString(), number5);
        QCOMPARE(store.value("Modem/Initialisation").toString(), QString("ATX4"));
        QCOMPARE(ReadModemNumbers().numbers, after); // and read back as start-up reads them
    }

    // Shown modally as the link shows it: a connection closes the window.
    void dialConnects() {
        ModemLine line;
        QVERIFY(line.open());
        frmModem window;
        window.InitialiseForm("ATX4", {"5550100"}, 1);
        QTimer::singleShot(0, Control<QPushButton>(&window, "cmdDial"), &QPushButton::click);
        window.exec();
        QCOMPARE(window.outcome(), frmModem::Connected);
        QVERIFY(!window.isVisible());
        QVERIFY(EntryEnabled(window));
        QVERIFY(!window.dialling());
        QCOMPARE(window.dialledNumber(), QString("5550100"));
        QCOMPARE(window.initialisation(), QString("ATX4"));
        QVERIFY(line.wire().contains("ATE0\rATX4\rATDT5550100\r"));
        const QString terminal = Control<QPlainTextEdit>(&window, "txtTerminal")->toPlainText();
        QVERIFY2(terminal.startsWith("ATE0\n"), qPrintable(terminal));
        QVERIFY(terminal.contains("\nATX4\n"));
        QVERIFY(terminal.contains("\nATDT5550100\n"));
        QVERIFY(terminal.contains("CONNECT"));
        QVERIFY(!terminal.contains('\r'));
    }

    // The window stays open so that the operator can read why and try again.
    void dialFails_data() {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("reply");
        QTest::newRow("busy") << int(Outcome::Busy) << "BUSY";
        QTest::newRow("no carrier") << int(Outcome::NoCarrier) << "NO CARRIER";
    }
    void dialFails() {
        QFETCH(int, outcome);
        QFETCH(QString, reply);
        ModemLine line;
        line.sim.setDialOutcome("5550100", Outcome(outcome));
        QVERIFY(line.open());
        frmModem window;
        window.InitialiseForm("", {"5550100"}, 1);
        window.show();
        Control<QPushButton>(&window, "cmdDial")->click();
        QVERIFY(window.isVisible());
        QVERIFY(EntryEnabled(window));
        QVERIFY(!window.dialling());
        QVERIFY(Control<QPlainTextEdit>(&window, "txtTerminal")->toPlainText().contains(reply));

        // Then the operator gives up.
        MessageAnswerer operatorAnswers({Answer::Confirm});
        Control<QPushButton>(&window, "cmdCancel")->click();
        QCOMPARE(operatorAnswers.seen.size(), 1);
        QCOMPARE(operatorAnswers.seen[0].title, QString("Cancel linking operation..."));
        QCOMPARE(operatorAnswers.seen[0].text,
                 QString("Are you sure you want to cancel linking via modem?"));
        QVERIFY(!window.isVisible());
        QCOMPARE(window.outcome(), frmModem::Cancelled);
    }

    // Cancel during a dial ends the wait at once; ConnectToModem hangs up and
    // the window stays open for another try.
    void cancelDuringADial() {
        ModemLine line;
        line.sim.setDialOutcome("5550199", Outcome::Silent);
        QVERIFY(line.open());
        frmModem window;
        window.InitialiseForm("", {"5550199"}, 1);
        window.show();
        MessageAnswerer operatorAnswers({Answer::Confirm});
        bool dialling = false;
        QTimer::singleShot(1000, &window, [&] {
            dialling = window.dialling() && !EntryEnabled(window);
            Control<QPushButton>(&window, "cmdCancel")->click();
        });
        QElapsedTimer elapsed;
        elapsed.start();
        Control<QPushButton>(&window, "cmdDial")->click();
        QVERIFY(elapsed.elapsed() < 20000); // not the 60 seconds of a silent modem
        QVERIFY(dialling);
        QCOMPARE(operatorAnswers.seen.size(), 1);
        QVERIFY(window.isVisible());
        QVERIFY(EntryEnabled(window));
        QVERIFY(!window.dialling());
        QVERIFY(line.wire().contains("ATDT5550199\rATH\r"));
        QVERIFY(Control<QPlainTextEdit>(&window, "txtTerminal")->toPlainText().contains("ATH"));
    }

    // A cancel that lands before the dial itself (while the modem answers its
    // set-up) must not leave the call connected.
    void cancelBeforeTheDialEndsTheCall() {
        ModemLine line;
        line.sim.setLatencyMs(400);
        QVERIFY(line.open());
        frmModem window;
        window.InitialiseForm("", {"5550100"}, 1);
        window.show();
        MessageAnswerer operatorAnswers({Answer::Confirm}, 0);
        QTimer::singleShot(100, Control<QPushButton>(&window, "cmdCancel"), &QPushButton::click);
        Control<QPushButton>(&window, "cmdDial")->click();
        QCOMPARE(operatorAnswers.seen.size(), 1);
        QVERIFY(window.isVisible());
        QVERIFY(EntryEnabled(window));
        const QByteArray wire = line.wire();
        QVERIFY2(wire.indexOf("+++") > wire.indexOf("ATDT5550100\r"), wire.constData());
        QVERIFY(wire.endsWith("ATH\r"));
    }

    void cancelDeclinedKeepsTheWindow() {
        frmModem window;
        window.show();
        MessageAnswerer operatorAnswers({Answer::Cancel});
        Control<QPushButton>(&window, "cmdCancel")->click();
        QCOMPARE(operatorAnswers.seen.size(), 1);
        QVERIFY(window.isVisible());
    }

    void closeBoxIsCancel_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("close box") << false;
        QTest::newRow("Escape") << true;
    }
    void closeBoxIsCancel() {
        QFETCH(bool, escape);
        ModemLine line;
        QVERIFY(line.open());
        frmModem window;
        window.InitialiseForm("", {"5550199"}, 1);
        window.show();
        Control<QPushButton>(&window, "cmdDial")->click(); // connected, hidden
        QCOMPARE(window.outcome(), frmModem::Connected);
        window.show();
        MessageAnswerer operatorAnswers({Answer::Confirm});
        if (escape)
            QTest::keyClick(&window, Qt::Key_Escape);
        else
            window.close();
        QCOMPARE(operatorAnswers.seen.size(), 1);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.outcome(), frmModem::Cancelled);
    }

    // With the link set for the cable, ConnectToModem refuses (1): cancelled.
    void directMethodIsCancelled() {
        ModemLine line;
        QVERIFY(line.open(1));
        frmModem window;
        window.InitialiseForm("ATX4", {"5550100"}, 1);
        window.show();
        line.sim.clearHostBytes();
        Control<QPushButton>(&window, "cmdDial")->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.outcome(), frmModem::Cancelled);
        QVERIFY(line.wire().isEmpty());
    }

    // A pasted line end would end the AT command early and start another.
    void controlCharactersAreNotSent() {
        ModemLine line;
        QVERIFY(line.open());
        frmModem window;
        window.InitialiseForm("ATX4\rATZ", {}, 0);
        Control<QComboBox>(&window, "cboNumber")->setEditText("555\r0100\n");
        window.show();
        Control<QPushButton>(&window, "cmdDial")->click();
        QCOMPARE(window.outcome(), frmModem::Connected);
        QCOMPARE(window.dialledNumber(), QString("5550100"));
        QVERIFY(line.wire().contains("\rATX4ATZ\rATDT5550100\r"));
        QVERIFY(!line.wire().contains("ATDT555\r"));
    }

    // An empty number is dialled as it stands: "ATDT" alone is a Hayes command.
    void emptyNumberIsDialledAsItStands() {
        ModemLine line;
        QVERIFY(line.open());
        frmModem window;
        window.InitialiseForm("", {}, 0);
        QCOMPARE(Control<QComboBox>(&window, "cboNumber")->currentText(), QString());
        window.show();
        line.sim.clearHostBytes();
        Control<QPushButton>(&window, "cmdDial")->click();
        QVERIFY(line.wire().contains("ATDT\r"));
    }
};

QTEST_MAIN(TestModemWindow)
#include "test_modem_window.moc"
