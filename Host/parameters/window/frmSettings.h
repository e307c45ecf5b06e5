#pragma once

#include "ActivityWindow.h"
#include "Presets.h"

#include <QList>

class MaskedEdit;
class ParameterSaveForm;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;
class StatusPollTimer;
class ControlPanel;

// "Parameter Settings...": views and edits one parameter set, a preset or the
// current set; OK keeps it as the current set, Save... into a preset.
class frmSettings : public ActivityWindow {
    Q_OBJECT
public:
    explicit frmSettings(ControlPanel* panel);

    // The presets, the current set and the preset it came from, as stored.
    Presets presets;
    ParameterSet pendingSet; // waiting to be saved into a preset
    // The cboTitle line shown when the window opens; -1 the current set.
    qint16 selectedPreset = 0;

    void ShowSet(const ParameterSet& set);
    ParameterSet ReadControls() const;
    // The current set again from the store (the panel changed a weighting).
    void reloadCurrentSet();

private:
    // Controls; tests and outside checks find them by objectName.
    QComboBox* const cboTitle;
    QList<QToolButton*> ssrFWeighting; // 0 C, 1 A
    QList<QToolButton*> ssrTWeighting; // 0 fast, 1 slow
    QComboBox* const cboInterval;
    QComboBox* const cboLeqOption;
    QComboBox* const cboLeq;
    QComboBox* const cboAuxiliary;
    QComboBox* const cboTape;
    QComboBox* const cboTapePower;
    QLabel* const lblTapePower;
    QList<MaskedEdit*> mskLn;
    QPushButton* const cmdUseDefaults;
    QRadioButton* const optStart1;
    QRadioButton* const optStart2;
    QRadioButton* const optStart3;
    QRadioButton* const optStop1;
    QRadioButton* const optStop2;
    MaskedEdit* const mskExceedance;
    MaskedEdit* const mskSplStart;
    MaskedEdit* const mskLReference;
    MaskedEdit* const mskLLevel;
    MaskedEdit* const mskLowLevel;
    MaskedEdit* const mskSplStop;
    MaskedEdit* const mskTimeDelay;
    QLabel* const lblStart3;
    QCheckBox* const chkPolarity;
    QPushButton* const cmdSave;
    QPushButton* const cmdOK;
    QPushButton* const cmdCancel;
    StatusPollTimer* const tmrParameter;

public:
    ParameterSaveForm* const saveForm;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        MaskedEdit* field;
        qint16 lower, upper;            // checked when the field is left
        qint16 shownLower, shownUpper;  // applied when a set is shown
        QRadioButton* option = nullptr; // selected by typing into the field
    };
    void buildControls();
    QWidget* buildTriggerFrames();
    void connectChanges();
    void markCustom();
    void enableTriggers();
    void polarityChanged();
    void fieldLeft(const Entry& entry);
    void titleChosen(int index);
    void ok();
    void save();
    void saveFinished(); // shows the preset just saved
    void replacePreset(int slot, const QString& name);
    QList<Entry> m_entries;
    QList<QWidget*> m_triggerControls;
    QList<std::pair<QLabel*, QRadioButton*>> m_optionLabels;
    bool m_loading = false;
    bool m_validating = false;
};
