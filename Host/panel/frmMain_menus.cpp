// The panel's menus and buttons: weightings, peak hold, update rate, reset,
// overload and the communications settings.
#include "CommandLibrary.h"
#include "CommandRequests.h"
#include "Confirmation.h"
#include "ExchangeGuard.h"
#include "HostSettings.h"
#include "Link.h"
#include "LoggerSession.h"
#include "PortDevicesDialog.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "ShownText.h"
#include "frmMain.h"
#include "frmMessage.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

void frmMain::frequencyButton(qint16 index) {
    if (m_session.mode != 0) {
        // Refused outside standby: the display goes back to what it showed.
        main_set_freq_objects(m_shownFrequency);
        return;
    }
    PostRequest(Request::SetFrequency, index);
    main_set_freq_objects(index);
    HostSettings::WriteBool(HostSettings::SettingCurrent, HostSettings::Key::Frequency, index == 1);
    if (m_activities.refreshCurrentSettings)
        m_activities.refreshCurrentSettings();
}

void frmMain::timeButton(qint16 index) {
    if (m_session.mode != 0) {
        main_set_time_objects(m_shownTime);
        return;
    }
    PostRequest(Request::SetTimeWeighting, index);
    main_set_time_objects(index);
}

void frmMain::peakHoldToggled() {
    const bool on = PeakHoldItem->isChecked();
    ResetPeakHoldButton->setVisible(on);
    m_updateRate = on ? 8 : m_chosenRate;
    update_configure(m_updateRate);
}

void frmMain::updateRateChosen(qint16 rate) {
    for (auto it = UpdateRateItem.cbegin(); it != UpdateRateItem.cend(); ++it)
        it.value()->setChecked(it.key() == rate);
    m_chosenRate = rate;
    if (PeakHoldItem->isChecked())
        return; // peak hold polls at 8 per second until it ends
    m_updateRate = rate;
    update_configure(rate);
}

bool frmMain::checkLinkedInStandby(const QString& notStandbyText) {
    if (!m_session.linked) {
        if (ConfirmationDialog().notifyNotLinked())
            WarningBox(this, "Orvane Instruments",
                       "You must be linked to a logger to perform this function.");
        return false;
    }
    if (m_session.mode != 0) {
        ShowMessage(notStandbyText, 0, "Orvane Instruments");
        return false;
    }
    return true;
}

void frmMain::clockClicked() {
    if (checkLinkedInStandby("The logger clock can only be changed\rwhilst the logger is in "
                             "Standby mode.") &&
        m_activities.openClock)
        m_activities.openClock();
}

void frmMain::temperatureClicked() {
    if (checkLinkedInStandby("The temperature can only be calibrated whilst the logger is in "
                             "Standby mode.") &&
        m_activities.calibrateTemperature)
        m_activities.calibrateTemperature();
}

void frmMain::resetLogger() {
    if (ShowMessage("Are you sure you want to reset the logger?\rYou will lose :\r   Any data "
                    "stored in the loggers' memory.\r   The current temperature calibration.",
                    4, "Confirm Reset") != 6)
        return;
    if (m_session.linked) {
        SPLTimer.stop();
        setLinkCaptions(false);
        m_session.linked = false;
        PostRequest(Request::ResetLogger);
        PostRequest(Request::Unlink);
    } else {
        resetUnlinkedLogger();
    }
}

void frmMain::resetUnlinkedLogger() {
    if (QueueRunInProgress() || ExchangeInProgress() || m_session.linking)
        return;
    ExchangeScope exchange;
    m_session.linking = true;
    EnableInterface(false);
    if (OpenLink(m_session.port, m_session.baud, m_session.method)) {
        Logger::ResetLogger();
        CloseLink();
        QMessageBox::information(this, "Orvane Instruments", "Logger reset");
    } else if (Session().PortOpenFlag && Session().lastOpenError == 0) {
        WarningBox(this, "Error!",
                   "Unable to link to a logger.\r\rCheck that the specified communications "
                   "settings\rare correct and that the logger is awake.");
    }
    m_session.linking = false;
    EnableInterface(true);
}

void frmMain::choosePort(qint16 port) {
    m_session.port = port;
    HostSettings::Write(HostSettings::Comms, HostSettings::Key::Port, port);
    main_set_comms_label();
}

void frmMain::chooseBaud(qint32 baud) {
    if (m_session.linked && baud != m_session.baud) {
        // The menu and the label stay on the rate in use until the change is made.
        main_set_comms_label();
        if (m_session.method == 2) {
            // Re-clocking closes the port, and closing it ends the call.
            ShowMessage("The baud rate cannot be changed while linked through a modem.\rUnlink, "
                        "choose the new rate and link again.",
                        0, "Orvane Instruments");
            return;
        }
        PostRequest(Request::ChangeBaudRate, qint16(baud));
        return;
    }
    m_session.baud = baud;
    HostSettings::Write(HostSettings::Comms, HostSettings::Key::Baud, baud);
    main_set_comms_label();
}

void frmMain::changeLinkBaud(qint32 baud) {
    const BaudChange change = ChangeLinkBaudRate(baud);
    if (change != BaudChange::Refused) {
        m_session.baud = baud;
        HostSettings::Write(HostSettings::Comms, HostSettings::Key::Baud, baud);
    }
    main_set_comms_label();
    if (change == BaudChange::PortLost)
        instant_unlink();
}

void frmMain::chooseMethod(qint16 method) {
    m_session.method = method;
    HostSettings::Write(HostSettings::Comms, HostSettings::Key::Method, method);
    main_set_comms_label();
}

void frmMain::chooseDevice() {
    PortDevicesDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        // A renamed device may now exist: let its port be chosen again.
        m_invalidPorts.clear();
        main_set_comms_label();
    }
}

void frmMain::main_set_comms_label() {
    for (auto it = ComPortItem.cbegin(); it != ComPortItem.cend(); ++it) {
        const QString device = PortDevice(it.key());
        it.value()->setText(QString("Port &%1 (%2)").arg(it.key()).arg(device));
        it.value()->setChecked(it.key() == m_session.port);
        it.value()->setEnabled(!m_invalidPorts.contains(it.key()));
    }
    for (auto it = BaudRateItem.cbegin(); it != BaudRateItem.cend(); ++it)
        it.value()->setChecked(it.key() == m_session.baud);
    for (auto it = CommMethodItem.cbegin(); it != CommMethodItem.cend(); ++it)
        it.value()->setChecked(it.key() == m_session.method);
    const bool modem = m_session.method == 2;
    PeakHoldItem->setEnabled(!modem);
    if (modem) {
        if (PeakHoldItem->isChecked()) {
            PeakHoldItem->setChecked(false);
            peakHoldToggled();
        }
        updateRateChosen(1);
    }
    UpdateRateItem.value(4)->setEnabled(!modem);
    UpdateRateItem.value(8)->setEnabled(!modem);
    const QString device = PortDevice(m_session.port);
    lblComms->setText(QString("Port %1 (%2), %3 baud, %4")
                          .arg(m_session.port)
                          .arg(device)
                          .arg(m_session.baud)
                          .arg(modem ? "modem" : "direct cable"));
}
