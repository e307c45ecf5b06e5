// The status poll and the displays it feeds.
#include "CommandLibrary.h"
#include "LevelMeter.h"
#include "LoggerSession.h"
#include "LoggingEstimate.h"
#include "MemoryRate.h"
#include "RequestQueue.h"
#include "frmMain.h"
#include "frmMessage.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace {

constexpr qint16 LowestShownLevel = 150;
constexpr qint16 HighestShownLevel = 1450;

} // namespace

void frmMain::main_update() {
    if (!m_session.linked)
        return;
    const std::optional<UpdateRecord> read = Logger::GetUpdate();
    const UpdateRecord update = read.value_or(FailedUpdate());
    showLevel(update.level);
    setOverloadShown(update.overload);
    // A failed poll leaves the clock as last read, for the clock window too.
    if (read)
        showClock(update.clock);
    if (m_rawLevelShown && m_activities.showRawLevel)
        m_activities.showRawLevel(Logger::GetRawSpl());
}

void frmMain::showLevel(qint16 level) {
    if (level < LowestShownLevel || level > HighestShownLevel) {
        Image1->hideBar();
        return;
    }
    if (PeakHoldItem->isChecked()) {
        level = qMax(level, m_peakLevel);
        m_peakLevel = level;
    }
    boxSPL->setText(QString::number(level / 10.0, 'f', 1));
    Image1->showLevel(level);
}

void frmMain::setOverloadShown(bool overload) {
    // Restyling is costly and the poll runs 8 times a second: only on a change.
    if (OverloadIndicatio->property("overload").isValid() &&
        OverloadIndicatio->property("overload").toBool() == overload)
        return;
    OverloadIndicatio->setProperty("overload", overload);
    OverloadIndicatio->setEnabled(overload);
    OverloadIndicatio->setText(overload ? "&Reset" : QString());
    OverloadIndicatio->setStyleSheet(overload ? "background-color: #ff0000;"
                                              : "background-color: #c0c0c0;");
    lblOverload->setText(overload ? "Overload" : QString());
}

void frmMain::clearOverload() {
    // Request 39: a click during an exchange is carried out after it.
    if (!m_session.linked)
        return;
    Logger::ClearOverload();
    setOverloadShown(false);
}

void frmMain::main_set_buttons() {
    const ParametersRecord parameters = Logger::GetParameters();
    main_set_freq_objects(parameters.frequencyCode);
    main_set_time_objects(parameters.timeCode);
}

void frmMain::main_set_freq_objects(qint16 code) {
    const int index = code == 1 ? 1 : 0;
    m_shownFrequency = qint16(index);
    for (int i = 0; i < 2; ++i) {
        FrequencyWeightingItem[i]->setChecked(i == index);
        FreqWeightingButton[i]->setChecked(i == index);
    }
    showUnits();
}

void frmMain::main_set_time_objects(qint16 code) {
    const int index = code == 1 ? 1 : 0;
    m_shownTime = qint16(index);
    for (int i = 0; i < 2; ++i) {
        TimeAveragingItem[i]->setChecked(i == index);
        TimeWeightingButton[i]->setChecked(i == index);
    }
    showUnits();
}

void frmMain::showUnits() {
    lblUnits->setText(QString("dB %1,%2")
                          .arg(FreqWeightingButton[1]->isChecked() ? "A" : "C")
                          .arg(TimeWeightingButton[1]->isChecked() ? "S" : "F"));
}

void frmMain::readLoggingRecord() {
    // The memory estimate needs the running buffer's interval and Leq settings,
    // the last results their percentile indices, also while timers wait.
    m_session.loggingRecord = EmptyBufferRecord();
    if (!(m_session.mode & 3))
        return;
    const qint16 buffers = Logger::GetBuffers();
    if (buffers > 0)
        m_session.loggingRecord = ProgramRead(buffers - 1);
}

QString frmMain::remainingTimeText() const {
    const LoggingEstimate estimate = EstimateLoggingTime(
        MemoryRateOf(m_session.loggingRecord.interval, m_session.loggingRecord.leqMode,
                     m_session.loggingRecord.leqLength),
        m_session.freeMemory, m_session.battery);
    return estimate.known ? LoggingTimeText(estimate.seconds) : QString();
}

void frmMain::main_set_logging_objects(qint16 mode) {
    m_session.mode = mode;
    if (mode & 1) {
        const QString left = remainingTimeText();
        ModeBox->setText(left.isEmpty() ? QString("Logging") : "Logging (Est " + left + " left)");
        LoggingButton->setText("S&top...");
        LoggingItem->setText("&Stop Logging");
    } else if (mode & 2) {
        ModeBox->setText("Timers On.");
        LoggingButton->setText("S&top...");
        LoggingItem->setText("&Stop Logging...");
    } else {
        ModeBox->setText("Standby");
        LoggingButton->setText("S&tart...");
        LoggingItem->setText("&Start Logging...");
    }
    main_enable(LoggerMenu->menuAction()->isEnabled());
}

void frmMain::main_get_status() {
    const qint16 mode = Logger::GetLoggingMode();
    if (mode < 0) {
        ModeBox->setText("Error");
        m_session.mode = ModeNotRead;
        return;
    }
    m_session.mode = mode;
    readLoggingRecord();
    main_set_logging_objects(mode);
}

void frmMain::main_logging_handler() {
    if (m_session.mode != 0 && m_session.mode != ModeNotRead) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const qint16 answer = ShowMessage("Are you sure you want to terminate the logging session?",
                                          4, "Please confirm action...");
        QApplication::restoreOverrideCursor();
        if (answer == 6 && m_activities.stopLogging) {
            m_activities.stopLogging();
            if (m_session.method == 2)
                SetPowerDown(true);
        }
        return;
    }
    if (Logger::GetBuffers() >= 8) {
        ShowMessage("There is no free buffer for logging data.\rTo free up a buffer, use the clear "
                    "buffer option from the download screen.",
                    0, "Orv - Out of buffers!");
    } else if (m_session.memoryAlmostFull) {
        ShowMessage("There is not enough memory for logging to start.\rTo free up memory, use the "
                    "clear buffer option from the download screen.",
                    0, "Orv - Out of memory!");
    } else if (m_activities.openLogging) {
        m_activities.openLogging();
    }
}

void frmMain::SetPowerDown(bool enable) {
    if (!Logger::SetPowerDown(enable ? 0 : 1))
        return;
    m_session.powerDownEnabled = enable;
    PowerDownItem->setText(enable ? "Disable &Power Down" : "Enable &Power Down");
}

void frmMain::update_configure(qint16 rate) {
    SPLTimer.setInterval(qRound(1000.0 / qMax<qint16>(rate, 1)));
}

void frmMain::ViewLastResults() {
    const Logger::LastResults results = Logger::GetLastResults();
    if (results.status == Logger::LastResults::NoData)
        ShowMessage("There is currently no data available for viewing.", 0, "Orv");
    else if (results.status == Logger::LastResults::Available && m_activities.showLastResults)
        m_activities.showLastResults(results.record);
}
