// Linking and unlinking, and reading the logger's information block.
#include "CommandLibrary.h"
#include "ExchangeGuard.h"
#include "FillPanel.h"
#include "GraphLauncher.h"
#include "HostSettings.h"
#include "LevelMeter.h"
#include "Link.h"
#include "LoggerSession.h"
#include "PortOpenFailure.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "ShownText.h"
#include "frmAbout.h"
#include "frmLink.h"
#include "frmMain.h"
#include "frmMessage.h"
#include "frmModem.h"

#include <QAction>
#include <QDate>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {

constexpr qint32 MemoryTotal = 262144;
constexpr qint32 AlmostFullBelow = 1025;

} // namespace

void frmMain::setLinkCaptions(bool linked) {
    cmdLink->setText(linked ? "&Unlink" : "Lin&k");
    LinkItem->setText(linked ? "&Unlink from Logger" : "&Link to Logger");
}

void frmMain::portNotOpened(const QString& device, qint16 error) {
    WarningBox(this, "Error!", PortOpenFailureText(device, error));
}

void frmMain::disablePortEntry(qint16 port) {
    if (!m_invalidPorts.contains(port))
        m_invalidPorts << port;
    if (QAction* item = ComPortItem.value(port))
        item->setEnabled(false);
}

qint16 frmMain::runModemWindow() {
    m_modemWindowRan = true;
    m_modemWindow->exec();
    return m_modemWindow->outcome();
}

bool frmMain::runLinkWindow() {
    return m_linkWindow->Link();
}

void frmMain::main_link_handler() {
    if (m_session.linked) {
        // Posted, not run: during an exchange it waits its turn and is never lost.
        EnableInterface(false);
        PostRequest(Request::UnlinkHandler);
        EnableInterface(true);
        return;
    }
    // Linking talks to the logger outside the queue: not while anything else does.
    if (QueueRunInProgress() || ExchangeInProgress() || m_session.linking)
        return;
    ExchangeScope exchange;
    m_session.linking = true;
    m_modemWindowRan = false;
    EnableInterface(false);
    GraphButton->setEnabled(false);
    m_graph->release();
    m_session.forgetLogger();
    const bool opened = OpenLink(m_session.port, m_session.baud, m_session.method);
    if (!opened) {
        GraphButton->setEnabled(true);
        if (Session().PortOpenFlag && Session().lastOpenError == 0)
            WarningBox(this, "Error!",
                       "Unable to link to a logger.\r\rCheck that the communications\rsettings "
                       "are correct and\rthat the logger is awake.");
    } else {
        m_session.linked = true;
        if (main_get_info()) {
            main_set_buttons();
            main_update();
            SPLTimer.start();
            main_enable(true);
            setLinkCaptions(true);
        } else {
            m_session.linked = false;
            ClosePort();
            m_session.forgetLogger();
        }
    }
    if (m_session.method == 2 && m_modemWindowRan && m_modemWindow->outcome() != 2)
        StoreModemNumbers(m_modemWindow->initialisation(), m_modemWindow->dialledNumber());
    m_session.linking = false;
    EnableInterface(true);
}

void frmMain::abortLinkAttempt() {
    m_linkWindow->cancel();
    if (m_modemWindow->isVisible())
        m_modemWindow->reject();
    InterruptReceive();
}

void frmMain::main_unlink_handler() {
    SPLTimer.stop();
    if (do_unlink("Are you sure you want to unlink from the logger?", "Orvane Instruments")) {
        instant_unlink();
        GraphButton->setEnabled(true);
    } else {
        SPLTimer.start();
    }
}

void frmMain::instant_unlink() {
    SPLTimer.stop();
    m_session.linked = false;
    setLinkCaptions(false);
    hide_child_forms();
    PostRequest(Request::Unlink);
}

void frmMain::main_unlink() {
    CloseLink();
    main_blank();
    main_enable(false);
    m_about->ResetData();
}

void frmMain::main_blank() {
    m_session.loggerClock = UnsetDateTime();
    m_session.serialNumberText.clear();
    for (QLabel* box : {SerialNumberBox, TemperatureBox, DateBox, boxSPL, ModeBox})
        box->clear();
    for (FillPanel* panel : {BatteryPanel, MemoryPanel}) {
        panel->setFillPercent(0);
        panel->setFillColor(palette().color(QPalette::Button));
    }
    Image1->hideBar();
    setOverloadShown(false);
    GraphButton->setEnabled(true);
    m_session.forgetLogger();
}

bool frmMain::main_get_info() {
    InformationRecord info = Logger::GetInformation();
    if (info.serialNumber == -1)
        info = Logger::GetInformation();
    if (info.serialNumber == -1)
        return false;
    if (info.processorVersion > 0 && (info.processorVersion >> 8) > 4) {
        QMessageBox::information(
            this, "Orvane Instruments",
            "The version of this logger is later then can be handled by this version of "
            "software.  Please contact your Orv distributor for the latest version of QN-7X "
            "host software.");
        return false;
    }
    m_session.serialNumberText = SerialNumberText(info.serialNumber);
    SerialNumberBox->setText(m_session.serialNumberText);
    m_about->showLoggerIdentity(SerialNumberText(info.serialNumber),
                                VersionText(info.processorVersion),
                                VersionText(info.measurementVersion));
    if (info.battery != -1) {
        m_session.battery = info.battery;
        const int clamped = qBound(110, int(info.battery), 125);
        BatteryPanel->setFillColor(QColor(0, 160, 0));
        BatteryPanel->setFillPercent((clamped - 110) * 100 / 15);
        const QString volts = QString::asprintf("%04.1fV", info.battery / 10.0);
        m_about->showBattery(volts);
        if (info.battery / 10 < 11)
            WarningBox(this, "Warning", "The Battery is flat");
    }
    showTemperature(info.temperature);
    if (info.powerDownState != 1) {
        m_session.powerDownEnabled = true;
        if (m_session.method == 2)
            SetPowerDown(false); // stay powered for the telephone call
        else
            PowerDownItem->setText("Disable &Power Down");
    } else {
        m_session.powerDownEnabled = false;
        PowerDownItem->setText("Enable &Power Down");
        if (m_session.method == 1 &&
            ShowMessage("The power down feature of this logger has been disabled.\r\rThis can "
                        "substantially reduce battery life.\rAs you are linking via a direct "
                        "cable, permanent power is probably not necessary.\r\rWould you like to "
                        "re-enable the power down feature now?",
                        4, "Orvane Instruments") == 6)
            SetPowerDown(true);
    }
    showClock(info.clock);
    // The logger numbers Sunday 0 (or 7 as the clock window sends it).
    if (IsValidDateTime(info.clock)) {
        const QDate date(info.clock.year, info.clock.month, info.clock.day);
        if (info.dayOfWeek % 7 != date.dayOfWeek() % 7)
            ShowMessage("There is a conflict between the day reported by the logger and\rthe "
                        "correct day as reported by the computer.\r\rThis is easily rectified by "
                        "setting the clock from this program.",
                        0, "Routine verification...");
    }
    // The estimate shown with the mode needs this logger's free memory.
    if (info.freeMemory != -1) {
        m_session.freeMemory = info.freeMemory;
        m_session.memoryAlmostFull = info.freeMemory < AlmostFullBelow;
        MemoryPanel->setFillColor(QColor(0, 0, 160));
        MemoryPanel->setFillPercent(int(qBound(
            qint64(0), (qint64(MemoryTotal) - info.freeMemory) * 100 / MemoryTotal, qint64(100))));
        m_about->showFreeMemory(QString::number((qint64(info.freeMemory) + 512) / 1024) + "kB");
    }
    if (info.loggingMode == -1) {
        ModeBox->setText("Error");
        m_session.mode = ModeNotRead;
    } else {
        m_session.mode = info.loggingMode & 3;
        readLoggingRecord();
        main_set_logging_objects(m_session.mode);
    }
    if (m_activities.updateBuffers)
        m_activities.updateBuffers();
    return true;
}

void frmMain::showClock(const LoggerDateTime& clock) {
    m_session.loggerClock = clock;
    // An unset or impossible clock is not shown.
    if (IsValidDateTime(clock))
        DateBox->setText(LongDateTimeText(clock));
}

void frmMain::showTemperature(qint16 tenths) {
    // -100: no sensor fitted; the display stays empty.
    TemperatureBox->setText(tenths != -100 ? QString::number(tenths / 10.0) : QString());
}
