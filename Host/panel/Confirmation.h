#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;

// The operator's prompt and notice options. Created once; the other windows
// read the options through it.
class Confirmation : public QDialog {
    Q_OBJECT
public:
    // Loads the stored options; the comms notice always starts off.
    explicit Confirmation(QWidget* parent = nullptr);

    bool confirmCancel() const { return m_confirmCancel; }
    bool confirmUnlink() const { return m_confirmUnlink; }
    bool notifyNotLinked() const { return m_notifyNotLinked; }
    bool notifyComms() const { return m_notifyComms; }

    // Ticks the boxes from the options.
    void set_objects();

    QCheckBox* const CancelCheck;
    QCheckBox* const UnlinkCheck;
    QCheckBox* const LinkedCheck;
    QCheckBox* const CommsCheck;
    QGroupBox* const fraConfirm;
    QGroupBox* const fraNotice;
    QPushButton* const ConfirmationOKButton;
    QPushButton* const ConfirmationCancelButton;

protected:
    // Every showing starts from the options, whatever a cancelled one left ticked.
    void showEvent(QShowEvent* event) override;

private:
    void storeOptions();

    bool m_confirmCancel = true;
    bool m_confirmUnlink = true;
    bool m_notifyNotLinked = true;
    bool m_notifyComms = false;
};

// The one options dialog, made (and its options loaded) on first use.
Confirmation& ConfirmationDialog();
