#include "frmSettings.h"

#include "ControlPanel.h"
#include "MaskedEdit.h"
#include "NamedWidget.h"
#include "NumericEntry.h"
#include "ParameterKeys.h"
#include "PresetDialogs.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "StatusPollTimer.h"
#include "WindowPlacement.h"
#include "frmMessage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

constexpr int PresetLineWidth = 40;
constexpr qint16 Intervals[] = {1, 2, 3, 4, 5, 10, 15, 20, 30, 60};
constexpr qint16 LeqLengths[] = {1, 2, 4, 8, 10, 20, 30, 60};
constexpr int UnlistedIntervalPosition = 4; // "5 minutes"
constexpr qint16 LongestTimeDelay = 15;

QComboBox* List(const char* name, const QStringList& items, QWidget* parent) {
    auto* list = Named(new QComboBox(parent), QLatin1String(name));
    list->addItems(items);
    return list;
}

QRadioButton* Option(const char* name, const QString& caption, QWidget* parent) {
    return Named(new QRadioButton(caption, parent), QLatin1String(name));
}

template <size_t N> int PositionOf(const qint16 (&values)[N], qint16 value, int fallback) {
    for (size_t i = 0; i < N; ++i)
        if (values[i] == value)
            return int(i);
    return fallback;
}

template <size_t N> qint16 ValueAt(const qint16 (&values)[N], int position, qint16 fallback) {
    return position >= 0 && position < int(N) ? values[position] : fallback;
}

// A value with no entry in a list shows the list's first entry.
int ListPosition(const QComboBox* list, int value) {
    return value >= 0 && value < list->count() ? value : 0;
}

} // namespace

frmSettings::frmSettings(ControlPanel* panel)
    : ActivityWindow(panel), cboTitle(List("cboTitle", {}, this)),
      cboInterval(List("cboInterval",
                       {"1 minute", "2 minutes", "3 minutes", "4 minutes", "5 minutes",
                        "10 minutes", "15 minutes", "20 minutes", "30 minutes", "60 minutes"},
                       this)),
      cboLeqOption(List("cboLeqOption", {"No", "Yes", "On Trigger"}, this)),
      cboLeq(List("cboLeq",
                  {"1 second", "2 seconds", "4 seconds", "8 seconds", "10 seconds", "20 seconds",
                   "30 seconds", "60 seconds"},
                  this)),
      cboAuxiliary(List("cboAuxiliary", {"No", "Yes", "On Trigger"}, this)),
      cboTape(List("cboTape", {"None", "Analogue", "DAT"}, this)),
      cboTapePower(List("cboTapePower", {"+3Vdc", "+4.5Vdc", "+6Vdc", "+9Vdc"}, this)),
      lblTapePower(NamedLabel("lblTapePower", "Power :", this)),
      cmdUseDefaults(NamedButton("cmdUseDefaults", "Use Defaults", this)),
      optStart1(Option("optStart1", "The SPL exceeds", this)),
      optStart2(Option("optStart2", "The L", this)),
      optStart3(Option("optStart3", "Remote switch is pressed.", this)),
      optStop1(Option("optStop1", "The SPL stays under", this)),
      optStop2(Option("optStop2", "After", this)),
      mskExceedance(NamedField("mskExceedance", "###", "Start level", this)),
      mskSplStart(NamedField("mskSplStart", "#0", "Start time", this)),
      mskLReference(NamedField("mskLReference", "#0", "Start percentile", this)),
      mskLLevel(NamedField("mskLLevel", "###", "Start percentile level", this)),
      mskLowLevel(NamedField("mskLowLevel", "###", "Stop level", this)),
      mskSplStop(NamedField("mskSplStop", "#0", "Stop time", this)),
      mskTimeDelay(NamedField("mskTimeDelay", "#0", "Stop after minutes", this)),
      lblStart3(NamedLabel("lblStart3", "over one interval exceeds", this)),
      chkPolarity(Named(new QCheckBox("Negative Polarity:", this), "chkPolarity")),
      cmdSave(NamedButton("cmdSave", "Save...", this)), cmdOK(NamedButton("cmdOK", "OK", this)),
      cmdCancel(NamedButton("cmdCancel", "Cancel", this)),
      tmrParameter(Named(pollStatusWhileShown(), "tmrParameter")),
      saveForm(new ParameterSaveForm(this, panel->statusTimer())) {
    setObjectName("frmSettings");
    setWindowTitle("Parameter Settings...");
    setWindowModality(Qt::ApplicationModal);
    for (int i = 0; i < PercentileCount; ++i)
        mskLn << NamedField(QString("mskLn%1").arg(i), "#0",
                            QString("Percentile index %1").arg(i + 1), this);
    m_entries = {{mskExceedance, 25, 150, 25, 150, optStart1},
                 {mskSplStart, 1, 30, 1, 99, optStart1},
                 {mskLReference, 1, 99, 1, 99, optStart2},
                 {mskLLevel, 25, 150, 25, 150, optStart2},
                 {mskLowLevel, 25, 150, 25, 150, optStop1},
                 {mskSplStop, 1, 30, 1, 99, optStop1},
                 {mskTimeDelay, 1, 99, 1, LongestTimeDelay, optStop2}};
    for (MaskedEdit* field : std::as_const(mskLn))
        m_entries.append({field, 1, 99, 1, 99, nullptr});
    buildControls();
    connectChanges();

    presets = LoadAllPresets();
    cboTitle->addItems(PresetListLines(presets.table, PresetLineWidth));
    saveForm->presetTitle = [this](int slot) { return presets.table.at(slot).Title; };
    saveForm->replacePreset = [this](int slot, const QString& name) { replacePreset(slot, name); };
    registerRequest(Request::OpenParameters, [this](qint16) {
        selectedPreset = presets.index;
        adjustSize();
        PlaceCentred(this, controlPanel()->panelWindow());
        ParkWindow([this] { show(); });
    });
    cancelWith(cmdCancel);
    disablePanelWhileShown();
}

void frmSettings::buildControls() {
    auto* fraParameter = Named(new QGroupBox("Parameters", this), "fraParameter");
    auto* parameters = new QGridLayout(fraParameter);
    const auto pair = [this, parameters](int row, const char* labelName, const QString& caption,
                                         const char* name, QList<QToolButton*>& buttons,
                                         const QStringList& captions) {
        parameters->addWidget(NamedLabel(labelName, caption, this), row, 0);
        auto* group = new QButtonGroup(this);
        for (int i = 0; i < 2; ++i) {
            auto* button = Named(new QToolButton(this), QString("%1%2").arg(name).arg(i));
            button->setText(captions[i]);
            button->setAccessibleName(captions[i]);
            button->setCheckable(true);
            button->setFocusPolicy(Qt::StrongFocus);
            group->addButton(button, i);
            buttons << button;
            parameters->addWidget(button, row, 1 + i);
        }
    };
    pair(0, "lblFWeighting", "Frequency Weighting", "ssrFWeighting", ssrFWeighting, {"C", "A"});
    pair(1, "lblTWeighting", "Time Weighting", "ssrTWeighting", ssrTWeighting, {"Fast", "Slow"});
    auto* lblInterval = NamedLabel("lblInterval", "&Interval", this);
    lblInterval->setBuddy(cboInterval);
    parameters->addWidget(lblInterval, 2, 0);
    parameters->addWidget(cboInterval, 2, 1, 1, 2);

    const auto labelled = [this](QGridLayout* grid, int row, QLabel* label, QComboBox* list) {
        label->setBuddy(list);
        list->setAccessibleName(QString(label->text()).remove(u'&').remove(" :"));
        grid->addWidget(label, row, 0);
        grid->addWidget(list, row, 1);
    };
    auto* fraShortLeq = Named(new QGroupBox("Short Term Leq", this), "fraShortLeq");
    auto* leq = new QGridLayout(fraShortLeq);
    labelled(leq, 0, NamedLabel("lblRecord", "Record :", this), cboLeqOption);
    labelled(leq, 1, NamedLabel("lblLeq", "&Length :", this), cboLeq);
    auto* fraAuxiliary = Named(new QGroupBox("Auxiliary Power", this), "fraAuxiliary");
    labelled(new QGridLayout(fraAuxiliary), 0, NamedLabel("lblAuxiliary", "Activate :", this),
             cboAuxiliary);
    auto* fraTape = Named(new QGroupBox("Tape Recorder", this), "fraTape");
    auto* tape = new QGridLayout(fraTape);
    labelled(tape, 0, NamedLabel("lblTape", "Type :", this), cboTape);
    labelled(tape, 1, lblTapePower, cboTapePower);

    auto* fraIndices = Named(new QGroupBox("&Percentile Indices", this), "fraIndices");
    auto* indices = new QHBoxLayout(fraIndices);
    for (MaskedEdit* field : std::as_const(mskLn))
        indices->addWidget(field);
    indices->addWidget(cmdUseDefaults);

    auto* lblTitle = NamedLabel("lblTitle", "Title of settings :", this);
    lblTitle->setBuddy(cboTitle);
    cboTitle->setAccessibleName("Title of settings");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblTitle);
    buttons->addWidget(cboTitle, 1);
    for (QPushButton* button : {cmdSave, cmdOK, cmdCancel})
        buttons->addWidget(button);
    cmdOK->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(fraParameter, 0, 0, 2, 1);
    grid->addWidget(fraShortLeq, 0, 1);
    grid->addWidget(fraAuxiliary, 1, 1);
    grid->addWidget(fraTape, 0, 2, 2, 1);
    grid->addWidget(fraIndices, 2, 0, 1, 3);
    grid->addWidget(buildTriggerFrames(), 3, 0, 1, 3);
    grid->addLayout(buttons, 4, 0, 1, 3);
}

QWidget* frmSettings::buildTriggerFrames() {
    auto* triggers = new QWidget(this); // the three trigger frames side by side
    auto* row = new QHBoxLayout(triggers);
    row->setContentsMargins(0, 0, 0, 0);
    auto* fraStart = Named(new QGroupBox("Trigger Start When", this), "fraStart");
    auto* fraStop = Named(new QGroupBox("Trigger Stop When", this), "fraStop");
    auto* frmPolarity = Named(new QGroupBox("Trigger Polarity", this), "frmPolarity");
    const auto line = [this](QGridLayout* grid, int row, QRadioButton* option,
                             const QList<QWidget*>& rest) {
        grid->addWidget(option, row, 0);
        int column = 1;
        for (QWidget* widget : rest)
            grid->addWidget(widget, row, column++);
        m_triggerControls << option << rest;
    };
    auto* lblStart1 = NamedLabel("lblStart1", "dB for", this);
    auto* lblStart2 = NamedLabel("lblStart2", "second(s).", this);
    auto* lblStart4 = NamedLabel("lblStart4", "dB.", this);
    auto* lblStop1 = NamedLabel("lblStop1", "dB for", this);
    auto* lblStop2 = NamedLabel("lblStop2", "second(s).", this);
    auto* lblStop3 = NamedLabel("lblStop3", "minute(s) have elapsed.", this);
    auto* start = new QGridLayout(fraStart);
    line(start, 0, optStart1, {mskExceedance, lblStart1, mskSplStart, lblStart2});
    line(start, 1, optStart2, {mskLReference, lblStart3, mskLLevel, lblStart4});
    line(start, 2, optStart3, {});
    auto* stop = new QGridLayout(fraStop);
    line(stop, 0, optStop1, {mskLowLevel, lblStop1, mskSplStop, lblStop2});
    line(stop, 1, optStop2, {mskTimeDelay, lblStop3});
    (new QVBoxLayout(frmPolarity))->addWidget(chkPolarity);
    m_triggerControls << fraStart << fraStop << chkPolarity;
    m_optionLabels = {{lblStart1, optStart1}, {lblStart2, optStart1}, {lblStart3, optStart2},
                      {lblStart4, optStart2}, {lblStop1, optStop1},   {lblStop2, optStop1},
                      {lblStop3, optStop2}};
    for (const auto& [label, option] : std::as_const(m_optionLabels))
        label->installEventFilter(this);
    row->addWidget(fraStart);
    row->addWidget(fraStop);
    row->addWidget(frmPolarity);
    return triggers;
}

void frmSettings::connectChanges() {
    for (QToolButton* button : ssrFWeighting + ssrTWeighting)
        connect(button, &QToolButton::clicked, this, &frmSettings::markCustom);
    for (QComboBox* list : {cboInterval, cboLeq, cboLeqOption, cboAuxiliary, cboTape})
        connect(list, &QComboBox::currentIndexChanged, this, &frmSettings::markCustom);
    for (QRadioButton* option : {optStart1, optStart2, optStart3, optStop1, optStop2})
        connect(option, &QRadioButton::clicked, this, &frmSettings::markCustom);
    for (const Entry& entry : std::as_const(m_entries)) {
        connect(entry.field, &QLineEdit::textEdited, this, [this, entry] {
            if (entry.option && !m_loading)
                entry.option->setChecked(true);
            markCustom();
        });
        connect(entry.field, &MaskedEdit::left, this, [this, entry] { fieldLeft(entry); });
    }
    connect(cmdUseDefaults, &QPushButton::clicked, this, [this] {
        markCustom();
        const QByteArray defaults = DefaultPercentiles();
        for (int i = 0; i < mskLn.size(); ++i)
            mskLn[i]->setText(FormatNumberField(quint8(defaults.at(i)), "#0"));
    });
    connect(cboLeqOption, &QComboBox::currentIndexChanged, this, [this](int position) {
        cboLeq->setEnabled(position > 0);
        enableTriggers();
    });
    connect(cboTape, &QComboBox::currentIndexChanged, this, [this](int position) {
        lblTapePower->setEnabled(position != 0);
        cboTapePower->setEnabled(position != 0);
        enableTriggers();
    });
    connect(cboAuxiliary, &QComboBox::currentIndexChanged, this, &frmSettings::enableTriggers);
    connect(chkPolarity, &QCheckBox::toggled, this, &frmSettings::polarityChanged);
    connect(cboTitle, &QComboBox::activated, this, &frmSettings::titleChosen);
    connect(cmdOK, &QPushButton::clicked, this, &frmSettings::ok);
    connect(cmdSave, &QPushButton::clicked, this, &frmSettings::save);
    connect(saveForm, &QDialog::finished, this, &frmSettings::saveFinished);
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        if (do_cancel("You will lose any changes made to the presets.\rAre you sure you want to "
                      "lose these changes?",
                      "Cancel parameter changes..."))
            hide();
    });
}

void frmSettings::markCustom() {
    if (!m_loading)
        cboTitle->setCurrentIndex(-1);
}

void frmSettings::enableTriggers() {
    const bool used = cboAuxiliary->currentIndex() == 2 || cboLeqOption->currentIndex() == 2 ||
                      cboTape->currentIndex() != 0;
    for (QWidget* control : std::as_const(m_triggerControls))
        control->setEnabled(used);
}

void frmSettings::polarityChanged() {
    const bool negative = chkPolarity->isChecked();
    optStart1->setText(negative ? "The SPL stays under" : "The SPL exceeds");
    optStop1->setText(negative ? "The SPL exceeds" : "The SPL stays under");
    lblStart3->setText(negative ? "Over one interval is under" : "Over one interval exceeds");
}

void frmSettings::fieldLeft(const Entry& entry) {
    if (m_validating || !isVisible())
        return;
    m_validating = true;
    if (entry.field == mskTimeDelay && entry.field->Text().trimmed().toInt() > LongestTimeDelay) {
        QMessageBox box(QMessageBox::Warning, "Remote Switch time selection",
                        "The value was supposed <= than 15 minutes.", QMessageBox::Ok, this);
        box.exec();
        entry.field->setText("15");
    }
    ValidateNumberField(*entry.field, entry.lower, entry.upper);
    m_validating = false;
}

void frmSettings::ShowSet(const ParameterSet& set) {
    m_loading = true;
    ssrFWeighting[set.Frequency ? 1 : 0]->setChecked(true);
    ssrTWeighting[set.TimeWeight ? 1 : 0]->setChecked(true);
    cboInterval->setCurrentIndex(PositionOf(Intervals, set.Interval, UnlistedIntervalPosition));
    cboAuxiliary->setCurrentIndex(ListPosition(cboAuxiliary, set.Auxiliary));
    cboLeqOption->setCurrentIndex(ListPosition(cboLeqOption, set.LeqOption));
    cboLeq->setCurrentIndex(PositionOf(LeqLengths, set.LeqLength, 0));
    switch (set.iTriggerStart) {
    case 3:
    case 4:
        optStart2->setChecked(true);
        break;
    case 5:
        optStart3->setChecked(true);
        break;
    default:
        optStart1->setChecked(true);
    }
    (set.iTriggerStop == 6 ? optStop2 : optStop1)->setChecked(true);
    const qint16 values[] = {set.SplStartLevel, set.SplStartTime, set.LTrigger, set.LLTrigger,
                             set.SplStopLevel,  set.SplStopTime,  set.TimeStop};
    for (int i = 0; i < int(std::size(values)); ++i) {
        const Entry& entry = m_entries.at(i);
        entry.field->setText(FormatNumberField(Clamp(values[i], entry.shownLower, entry.shownUpper),
                                               entry.field->pattern()));
    }
    const bool negative =
        set.iTriggerStart == 2 || set.iTriggerStart == 4 ||
        (set.iTriggerStart < 1 || set.iTriggerStart > 4 ? set.iTriggerStop == 1 : false);
    chkPolarity->setChecked(negative);
    const int tape = set.TapeUse ? set.TapeType + 1 : 0;
    cboTape->setCurrentIndex(ListPosition(cboTape, tape));
    lblTapePower->setEnabled(set.TapeUse);
    cboTapePower->setEnabled(set.TapeUse);
    cboTapePower->setCurrentIndex(Clamp(set.TapePower, 0, 3));
    for (int i = 0; i < mskLn.size(); ++i) {
        const qint16 code = i < set.LIndices.size() ? quint8(set.LIndices.at(i)) : 1;
        mskLn[i]->setText(FormatNumberField(Clamp(code, 1, 99), "#0"));
    }
    cboLeq->setEnabled(cboLeqOption->currentIndex() > 0);
    enableTriggers();
    m_loading = false;
}

ParameterSet frmSettings::ReadControls() const {
    ParameterSet set;
    set.Frequency = ssrFWeighting[1]->isChecked();
    set.TimeWeight = ssrTWeighting[1]->isChecked();
    set.Interval = ValueAt(Intervals, cboInterval->currentIndex(), 15);
    set.Auxiliary = qint16(qMax(0, cboAuxiliary->currentIndex()));
    set.LeqLength = ValueAt(LeqLengths, cboLeq->currentIndex(), 1);
    set.LeqOption = qint16(qMax(0, cboLeqOption->currentIndex()));
    const bool negative = chkPolarity->isChecked();
    set.iTriggerStart = optStart1->isChecked()   ? (negative ? 2 : 1)
                        : optStart2->isChecked() ? (negative ? 4 : 3)
                        : optStart3->isChecked() ? 5
                                                 : 0;
    set.iTriggerStop = optStop1->isChecked() ? (negative ? 1 : 2) : optStop2->isChecked() ? 6 : 0;
    // Every field within the editor's range, also one emptied and never left.
    const auto value = [this](int i) {
        const Entry& entry = m_entries.at(i);
        return FieldValue(*entry.field, entry.lower,
                          entry.field == mskTimeDelay ? LongestTimeDelay : entry.upper);
    };
    set.SplStartLevel = value(0);
    set.SplStartTime = value(1);
    set.LTrigger = value(2);
    set.LLTrigger = value(3);
    set.SplStopLevel = value(4);
    set.SplStopTime = value(5);
    set.TimeStop = value(6);
    const int tape = cboTape->currentIndex();
    set.TapeUse = tape > 0;
    set.TapeType = qint16(tape > 0 ? tape - 1 : 0);
    set.TapePower = qint16(tape > 0 ? qMax(0, cboTapePower->currentIndex()) : 0);
    QList<int> indices;
    for (const MaskedEdit* field : mskLn)
        indices << FieldValue(*field, 1, 99);
    set.LIndices = SortPercentiles(indices);
    set.Title.clear();
    return set;
}

void frmSettings::reloadCurrentSet() {
    presets.current = ReadParameterSet(ParameterKeys::SettingCurrent);
}

void frmSettings::titleChosen(int index) {
    if (index >= 0 && index < PresetCount)
        ShowSet(presets.table.at(index));
}

void frmSettings::ok() {
    presets.index = qint16(cboTitle->currentIndex());
    presets.current = ReadControls();
    SaveCurrentSet(presets.current, presets.index);
    hide();
}

void frmSettings::save() {
    pendingSet = ReadControls();
    // Shown once the running requests are done: a click that lands while a
    // poll waits on the line must not hold that run, and the polls, open.
    ParkWindow([this] {
        if (isVisible())
            saveForm->show();
    });
}

void frmSettings::saveFinished() {
    if (saveForm->result == 0) {
        cboTitle->setCurrentIndex(selectedPreset);
        titleChosen(selectedPreset);
    }
}

void frmSettings::replacePreset(int slot, const QString& name) {
    presets.table.at(slot) = pendingSet;
    presets.table.at(slot).Title = name;
    SaveAllPresets(presets.table);
    cboTitle->clear();
    cboTitle->addItems(PresetListLines(presets.table, PresetLineWidth));
    selectedPreset = qint16(slot);
}

void frmSettings::showEvent(QShowEvent* event) {
    ActivityWindow::showEvent(event);
    if (selectedPreset >= 0 && selectedPreset < PresetCount) {
        cboTitle->setCurrentIndex(selectedPreset);
        ShowSet(presets.table.at(selectedPreset));
    } else {
        cboTitle->setCurrentIndex(-1);
        ShowSet(presets.current);
    }
}

bool frmSettings::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress)
        for (const auto& [label, option] : std::as_const(m_optionLabels))
            if (label == watched && option->isEnabled()) {
                option->setChecked(true);
                markCustom();
            }
    return QDialog::eventFilter(watched, event);
}
