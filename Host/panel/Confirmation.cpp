#include "Confirmation.h"

#include "HostSettings.h"
#include "Notices.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QCheckBox* NewCheck(const QString& name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QGroupBox* NewFrame(const QString& name, const QString& caption, QCheckBox* first,
                    QCheckBox* second, QWidget* parent) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(first);
    layout->addWidget(second);
    return frame;
}

QPushButton* NewButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

Confirmation::Confirmation(QWidget* parent)
    : QDialog(parent),
      CancelCheck(NewCheck("CancelCheck", "Cancelling after a change is made.", this)),
      UnlinkCheck(NewCheck("UnlinkCheck", "Unlinking from the logger.", this)),
      LinkedCheck(NewCheck("LinkedCheck", "Command only valid when linked.", this)),
      CommsCheck(NewCheck("CommsCheck", "Problems occur in the comms.", this)),
      fraConfirm(
          NewFrame("fraConfirm", "Prompt For Confirmation On -", CancelCheck, UnlinkCheck, this)),
      fraNotice(NewFrame("fraNotice", "Display Notice When - ", LinkedCheck, CommsCheck, this)),
      ConfirmationOKButton(NewButton("ConfirmationOKButton", "OK", this)),
      ConfirmationCancelButton(NewButton("ConfirmationCancelButton", "Cancel", this)) {
    setObjectName("Confirmation");
    setWindowTitle("Confirmation Options");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ConfirmationOKButton);
    buttons->addWidget(ConfirmationCancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraConfirm);
    layout->addWidget(fraNotice);
    layout->addLayout(buttons);
    ConfirmationOKButton->setDefault(true);
    connect(ConfirmationOKButton, &QPushButton::clicked, this, &Confirmation::storeOptions);
    connect(ConfirmationCancelButton, &QPushButton::clicked, this, &Confirmation::reject);

    using namespace HostSettings;
    m_confirmCancel = ReadBool(Confirm, Key::Cancel, true);
    m_confirmUnlink = ReadBool(Confirm, Key::Unlink, true);
    m_notifyNotLinked = ReadBool(Confirm, Key::Notify, true);
    // Stored, but never read back: the comms notice starts off at every start.
    m_notifyComms = false;
    SetCommsNoticeEnabled(false);
    set_objects();
}

void Confirmation::set_objects() {
    CancelCheck->setChecked(m_confirmCancel);
    UnlinkCheck->setChecked(m_confirmUnlink);
    LinkedCheck->setChecked(m_notifyNotLinked);
    CommsCheck->setChecked(m_notifyComms);
}

void Confirmation::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) // not a restore from the task bar
        set_objects();
    QDialog::showEvent(event);
}

void Confirmation::storeOptions() {
    m_confirmCancel = CancelCheck->isChecked();
    m_confirmUnlink = UnlinkCheck->isChecked();
    m_notifyNotLinked = LinkedCheck->isChecked();
    m_notifyComms = CommsCheck->isChecked();
    using namespace HostSettings;
    WriteBool(Confirm, Key::Cancel, m_confirmCancel);
    WriteBool(Confirm, Key::Unlink, m_confirmUnlink);
    WriteBool(Confirm, Key::Notify, m_notifyNotLinked);
    WriteBool(Confirm, Key::CommsNotice, m_notifyComms);
    SetCommsNoticeEnabled(m_notifyComms);
    accept();
}

Confirmation& ConfirmationDialog() {
    static QPointer<Confirmation> dialog;
    if (!dialog)
        dialog = new Confirmation;
    return *dialog;
}
