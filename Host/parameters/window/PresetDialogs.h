#pragma once

// The two small dialogs that save an edited parameter set into a preset slot.

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class StatusPollTimer;

// "Confirm Preset Replace": always asked before a preset is replaced.
class PresetConfirmForm : public QDialog {
    Q_OBJECT
public:
    PresetConfirmForm(QWidget* parent, const QTimer* statusTimer);

    int result = 1; // 1 cancelled, 0 replaced
    // The slot's number with the preset now in it and the name to replace it with.
    void showReplacement(const QString& slot, const QString& oldName, const QString& newName);

private:
    // Controls; tests and outside checks find them by objectName.
    QLabel* const Label1;
    QLabel* const OldNumberLabel;
    QLabel* const OldNameLabel;
    QLabel* const Label6;
    QLabel* const NewNumberLabel;
    QLabel* const NewNameLabel;
    QPushButton* const OKButton;
    QPushButton* const CancelButton;
    StatusPollTimer* const ConfirmParmsTimer;
};

// "Save Parameters": the slot and the name to save the edited set as.
class ParameterSaveForm : public QDialog {
    Q_OBJECT
public:
    ParameterSaveForm(QWidget* parent, const QTimer* statusTimer);

    int result = 1; // 1 cancelled, 0 saved
    // Asked after the confirmation: puts the set into the slot under the name.
    std::function<void(int slot, const QString& name)> replacePreset;
    // The title of the preset now in a slot, for the confirmation.
    std::function<QString(int slot)> presetTitle;

private:
    // Controls; tests and outside checks find them by objectName.
    QLabel* const Label1;
    QComboBox* const SlotCombo;
    QLabel* const Label2;
    QLineEdit* const NameText;
    QPushButton* const OKButton;
    QPushButton* const CancelButton;
    StatusPollTimer* const SaveParmsTimer;

public:
    PresetConfirmForm* const confirmation;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void save();
};
