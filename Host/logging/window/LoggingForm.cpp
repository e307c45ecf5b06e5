#include "LoggingForm.h"

#include "CommandLibrary.h"
#include "ControlPanel.h"
#include "LoggerSession.h"
#include "MaskedEdit.h"
#include "NamedWidget.h"
#include "Presets.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "StatusPollTimer.h"
#include "WindowPlacement.h"
#include "frmMessage.h"
#include "frmReference.h"
#include "frmSettings.h"
#include "frmSummary.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int PresetLineWidth = 40;

QComboBox* List(const char* name, const QStringList& items, const QString& spoken,
                QWidget* parent) {
    auto* list = Named(new QComboBox(parent), QLatin1String(name));
    list->addItems(items);
    list->setAccessibleName(spoken);
    return list;
}

// The current set in words, for a set that is no preset.
QString CustomSetText(const ParameterSet& set) {
    return " <Custom Settings> " + QString::number(set.Interval) + " minute intervals, " +
           (set.Frequency ? "A weighted, " : "C weighted, ") +
           (set.TimeWeight ? "slow time. " : "fast time. ");
}

} // namespace

LoggingForm::LoggingForm(ControlPanel* panel, frmSettings* settings)
    : ActivityWindow(panel),
      ParameterLabel(NamedLabel("ParameterLabel", "Parameter Settings :", this)),
      ParameterCombo(List("ParameterCombo", {}, "Parameter Settings", this)),
      ParameterDataLabel(NamedLabel("ParameterDataLabel", QString(), this)),
      ParameterChangeButton(NamedButton("ParameterChangeButton", "Change...", this)),
      TitleLabel(NamedLabel("TitleLabel", "Measurement Title :", this)),
      TitleMask(Named(new QLineEdit(this), "TitleMask")),
      MasterTimerFrame(Named(new QGroupBox("Master Timer", this), "MasterTimerFrame")),
      MasterTimerCombo(
          List("MasterTimerCombo",
               {"No Timer", "Hourly Repeat", "Daily Repeat", "Weekly Repeat", "One Shot"},
               "Master Timer", MasterTimerFrame)),
      MasterTimerPanels(Named(new QStackedWidget(MasterTimerFrame), "MasterTimerPanels")),
      SubTimerFrame(Named(new QGroupBox("Sub Timer", this), "SubTimerFrame")),
      SubTimerLabel(NamedLabel("SubTimerLabel", "Timing Mode :", SubTimerFrame)),
      SubTimerCombo(List("SubTimerCombo",
                         {"No Timer", "Hourly Repeat", "Daily Repeat", "Weekly Repeat"},
                         "Sub Timer Timing Mode", SubTimerFrame)),
      SubTimerPanels(Named(new QStackedWidget(SubTimerFrame), "SubTimerPanels")),
      LoggingButton(NamedButton("LoggingButton", "Proceed", this)),
      CancelButton(NamedButton("CancelButton", "Cancel", this)),
      LoggingTimer(Named(pollStatusWhileShown(), "LoggingTimer")), m_settings(settings),
      m_summary(new frmSummary(panel, this)) {
    setObjectName("LoggingForm");
    setWindowTitle("Start Logging...");
    setWindowModality(Qt::ApplicationModal);
    ParameterLabel->setBuddy(ParameterCombo);
    TitleLabel->setBuddy(TitleMask);
    SubTimerLabel->setBuddy(SubTimerCombo);
    TitleMask->setMaxLength(TitleLength);
    TitleMask->setAccessibleName("Measurement Title");
    ParameterDataLabel->hide();
    buildRepeatPanels(0, MasterTimerPanels);
    buildOneShotPanel();
    buildRepeatPanels(1, SubTimerPanels);
    buildLayout();
    loadTimerDefaults();
    masterKindChanged(0);
    subKindChanged(0);
    connect(MasterTimerCombo, &QComboBox::currentIndexChanged, this,
            &LoggingForm::masterKindChanged);
    connect(SubTimerCombo, &QComboBox::currentIndexChanged, this, &LoggingForm::subKindChanged);
    connect(ParameterChangeButton, &QPushButton::clicked, this, &LoggingForm::openParameterEditor);
    connect(LoggingButton, &QPushButton::clicked, this, [this] {
        setControlsEnabled(false);
        PostRequest(Request::ProceedCheck);
    });
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        setControlsEnabled(false);
        PostRequest(Request::CloseLogging);
    });
    // The editor may have changed the presets or the current set.
    m_settings->installEventFilter(this);
    logging_init_objects();
    registerRequest(Request::LoggingInit, [this](qint16) { logging_init_objects(); });
    registerRequest(Request::CloseLogging, [this](qint16) { CloseWindow(); });
    registerRequest(Request::ProceedCheck, [this](qint16) { ProceedCheck(); });
    hideOnUnlink();
    cancelWith(CancelButton);
}

void LoggingForm::setReferenceWindow(frmReference* reference) {
    m_reference = reference;
    m_summary->setReferenceWindow(reference);
}

void LoggingForm::buildLayout() {
    auto* parameters = new QHBoxLayout;
    parameters->addWidget(ParameterLabel);
    parameters->addWidget(ParameterCombo, 1);
    parameters->addWidget(ParameterDataLabel, 1);
    parameters->addWidget(ParameterChangeButton);
    auto* title = new QHBoxLayout;
    title->addWidget(TitleLabel);
    title->addWidget(TitleMask, 1);

    auto* master = new QVBoxLayout(MasterTimerFrame);
    master->addWidget(MasterTimerCombo);
    master->addWidget(MasterTimerPanels);
    auto* subKind = new QHBoxLayout;
    subKind->addWidget(SubTimerLabel);
    subKind->addWidget(SubTimerCombo, 1);
    auto* sub = new QVBoxLayout(SubTimerFrame);
    sub->addLayout(subKind);
    sub->addWidget(SubTimerPanels);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(LoggingButton);
    buttons->addWidget(CancelButton);
    LoggingButton->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(parameters);
    layout->addLayout(title);
    auto* timers = new QHBoxLayout;
    timers->addWidget(MasterTimerFrame);
    timers->addWidget(SubTimerFrame);
    layout->addLayout(timers);
    layout->addLayout(buttons);
}

void LoggingForm::setControlsEnabled(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{LoggingButton, CancelButton, ParameterChangeButton,
                                         ParameterCombo, TitleMask, MasterTimerFrame})
        control->setEnabled(enabled);
    // The sub timer is only there beside a master timer.
    SubTimerFrame->setEnabled(enabled && MasterTimerCombo->currentIndex() != 0);
}

void LoggingForm::logging_init_objects() {
    ParameterCombo->clear();
    ParameterCombo->addItems(PresetListLines(m_settings->presets.table, PresetLineWidth));
    ParameterCombo->setCurrentIndex(0);
}

void LoggingForm::describeParameters() {
    const Presets& presets = m_settings->presets;
    logging_init_objects();
    ParameterCombo->setCurrentIndex(
        presets.index >= 0 && presets.index < PresetCount ? presets.index : -1);
    const bool custom = ParameterCombo->currentIndex() < 0;
    ParameterCombo->setVisible(!custom);
    ParameterDataLabel->setVisible(custom);
    ParameterDataLabel->setText(custom ? CustomSetText(presets.current) : QString());
    ParameterLabel->setBuddy(custom ? static_cast<QWidget*>(ParameterChangeButton)
                                    : ParameterCombo);
}

void LoggingForm::showEvent(QShowEvent* event) {
    ActivityWindow::showEvent(event);
    describeParameters();
}

bool LoggingForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_settings && event->type() == QEvent::Hide && isVisible())
        describeParameters();
    return QDialog::eventFilter(watched, event);
}

void LoggingForm::openParameterEditor() {
    m_settings->selectedPreset = m_settings->presets.index;
    m_settings->adjustSize();
    PlaceCentred(m_settings, this);
    ParkWindow([settings = m_settings] { settings->show(); });
}

void LoggingForm::ProceedCheck() {
    // Every way out leaves the window usable again.
    const auto finished = qScopeGuard([this] { setControlsEnabled(true); });
    const TimerKind masterKind = TimerKind(MasterTimerCombo->currentIndex());
    const TimerKind subKind = TimerKind(SubTimerCombo->currentIndex());
    if (!TimersAreCompatible(masterKind, subKind)) {
        ShowMessage("Invalid timer combination.", 0, "Timer Error");
        return;
    }
    if (!TimerIsValid(masterKind, 0)) {
        ShowMessage("Invalid master timer information.", 0, "Timer Error");
        return;
    }
    if (!TimerIsValid(subKind, 1)) {
        ShowMessage("Invalid sub timer information.", 0, "Timer Error!");
        return;
    }

    setup = LoggingSetup{};
    setup.master = BuildTimer(masterKind, 0);
    setup.sub = BuildTimer(subKind, 1);
    Presets& presets = m_settings->presets;
    const int line = ParameterCombo->currentIndex();
    if (line >= 0 && line < PresetCount) {
        setup.parameters = presets.table.at(line);
        presets.index = qint16(line);
    } else {
        setup.parameters = presets.current;
    }
    setup.title = TitleMask->text();

    const LoggerDateTime clock = Logger::GetDateTime();
    const bool timed = masterKind != TimerKind::None || subKind != TimerKind::None;
    // A logger whose clock reads as no date (unset, or not read) would never
    // open a timer's window.
    const bool clockUsable = !timed || IsValidDateTime(clock);
    if (!clockUsable || !WillRecord(setup.master, setup.sub, clock)) {
        ShowMessage("If these settings are used,\rthen you will not get any data!", 0,
                    "Timer Error!");
        return;
    }

    // Filled first: the placement needs the size the texts give it.
    m_summary->showSetup(setup, Session().freeMemory, Session().battery);
    PlaceBottomAligned(m_summary, this);
    hide();
    ParkWindow([summary = m_summary] { summary->show(); });
}

void LoggingForm::CloseWindow() {
    if (do_cancel("Are you sure you want to discard the changes you have made?",
                  "Cancel start logging..."))
        hide();
    setControlsEnabled(true);
    controlPanel()->EnableInterface(true);
}

void LoggingForm::StopLogging() {
    if (!Logger::StopLogging()) {
        // A stop the logger did not answer is believed only once the mode says so.
        const qint16 mode = Logger::GetLoggingMode();
        if (mode != 0) {
            ShowMessage("The logger did not confirm the end of logging.\rCheck the link to the "
                        "logger, then try again.",
                        0, "Logging not stopped");
            if (mode > 0)
                controlPanel()->main_set_logging_objects(mode);
            return;
        }
    }
    ShowMessage("Logging has been terminated.\r\rPlease attach a reference signal to the\r"
                "microphone for the post-reference measurement.\r\rClick OK to continue...",
                0, "Logging stopped");
    m_reference->setPostMeasurement(true);
    m_reference->adjustSize(); // to the shape it has without Cancel's lines
    PlaceCentred(m_reference, controlPanel()->panelWindow());
    m_reference->runModal();
    m_reference->setPostMeasurement(false);
    Logger::SendPostReference(qint16(ReferenceLevelWord(m_reference->level)));
    controlPanel()->main_set_logging_objects(0);
    if (updateBuffers)
        updateBuffers();
}
