#include "PresetDialogs.h"

#include "NamedWidget.h"
#include "StatusPollTimer.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PresetConfirmForm::PresetConfirmForm(QWidget* parent, const QTimer* statusTimer)
    : QDialog(parent),
      Label1(NamedLabel("Label1", "Are you sure you want to replace the settings preset -", this)),
      OldNumberLabel(NamedLabel("OldNumberLabel", {}, this)),
      OldNameLabel(NamedLabel("OldNameLabel", {}, this)),
      Label6(NamedLabel("Label6", "with the new preset -", this)),
      NewNumberLabel(NamedLabel("NewNumberLabel", {}, this)),
      NewNameLabel(NamedLabel("NewNameLabel", {}, this)),
      OKButton(NamedButton("OKButton", "OK", this)),
      CancelButton(NamedButton("CancelButton", "Cancel", this)),
      ConfirmParmsTimer(new StatusPollTimer(this, statusTimer, PostStatusPollIfIdle, this)) {
    setObjectName("PresetConfirmForm");
    setWindowTitle("Confirm Preset Replace");
    ConfirmParmsTimer->setObjectName("ConfirmParmsTimer");
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(OldNumberLabel, 1, 0);
    grid->addWidget(OldNameLabel, 1, 1);
    grid->addWidget(Label6, 2, 0, 1, 2);
    grid->addWidget(NewNumberLabel, 3, 0);
    grid->addWidget(NewNameLabel, 3, 1);
    grid->addWidget(OKButton, 4, 0);
    grid->addWidget(CancelButton, 4, 1);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, [this] {
        result = 0;
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { result = 1; });
}

void PresetConfirmForm::showReplacement(const QString& slot, const QString& oldName,
                                        const QString& newName) {
    OldNumberLabel->setText(slot);
    OldNameLabel->setText(oldName);
    NewNumberLabel->setText(slot);
    NewNameLabel->setText(newName);
}

ParameterSaveForm::ParameterSaveForm(QWidget* parent, const QTimer* statusTimer)
    : QDialog(parent), Label1(NamedLabel("Label1", "Save to :", this)),
      SlotCombo(new QComboBox(this)),
      Label2(NamedLabel("Label2", "Save these settings as :", this)), NameText(new QLineEdit(this)),
      OKButton(NamedButton("OKButton", "OK", this)),
      CancelButton(NamedButton("CancelButton", "Cancel", this)),
      SaveParmsTimer(new StatusPollTimer(this, statusTimer, PostStatusPollIfIdle, this)),
      confirmation(new PresetConfirmForm(this, statusTimer)) {
    setObjectName("ParameterSaveForm");
    setWindowTitle("Save Parameters");
    setWindowModality(Qt::ApplicationModal);
    SaveParmsTimer->setObjectName("SaveParmsTimer");
    SlotCombo->setObjectName("SlotCombo");
    SlotCombo->addItems({"Preset 1", "Preset 2", "Preset 3", "Preset 4"});
    SlotCombo->setAccessibleName(Label1->text());
    Label1->setBuddy(SlotCombo);
    NameText->setObjectName("NameText");
    NameText->setAccessibleName(Label2->text());
    Label2->setBuddy(NameText);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(SlotCombo, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(NameText, 1, 1);
    grid->addWidget(OKButton, 2, 0);
    grid->addWidget(CancelButton, 2, 1);
    OKButton->setDefault(true);
    connect(NameText, &QLineEdit::textChanged, this,
            [this](const QString& text) { OKButton->setEnabled(!text.isEmpty()); });
    connect(OKButton, &QPushButton::clicked, this, &ParameterSaveForm::save);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { result = 1; });
}

void ParameterSaveForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    result = 1;
    SlotCombo->setCurrentIndex(0);
    NameText->selectAll();
    NameText->setFocus();
    OKButton->setEnabled(!NameText->text().isEmpty());
}

void ParameterSaveForm::save() {
    const int slot = SlotCombo->currentIndex();
    const QString slotText = SlotCombo->currentText() + " :";
    confirmation->showReplacement(slotText, presetTitle ? presetTitle(slot) : QString(),
                                  NameText->text());
    confirmation->exec();
    if (confirmation->result != 0) {
        NameText->selectAll();
        NameText->setFocus();
        return;
    }
    if (replacePreset)
        replacePreset(slot, NameText->text());
    result = 0;
    accept();
}
