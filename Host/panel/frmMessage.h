#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

class QLabel;
class QPushButton;
class StatusPollTimer;

// The program's one message window: every question and warning of the host
// goes through ShowMessage. Created on first use, hidden between uses.
class frmMessage : public QDialog {
    Q_OBJECT
public:
    explicit frmMessage(QWidget* parent = nullptr);

    // Shows `message` modally with the buttons of `style` and returns the
    // result code (0 for a style it does not know).
    qint16 showMessage(const QString& message, qint16 style, const QString& title);
    // Where the window centres itself, and the main window's status poll that
    // its own timer runs while it is shown.
    void setContext(QWidget* mainWindow, const QTimer* statusTimer,
                    std::function<void()> statusPoll);

private:
    // Controls; tests and outside checks find them by objectName.
    QLabel* const lblMessage;
    QPushButton* const cmdConfirm;
    QPushButton* const cmdCancel;

public:
    // The status-poll timer, for tests: it has no parent to be found by name.
    QTimer& tmrMessage();

public slots:
    // Escape and the close box both count as cmdCancel.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool setButtons(qint16 style);
    void placeControls();
    void centreOverMainWindow();
    qint16 result() const;
    void pollStatus();

    QPointer<QWidget> m_mainWindow;
    std::function<void()> m_statusPoll;
    StatusPollTimer* m_pollTimer = nullptr;
    qint16 m_style = 0;
    bool m_cancelled = false;
    bool m_refusalLogged = false; // once per showing: a failing poll asks on every tick
};

// Installed once by the main window.
void SetMessageWindowContext(QWidget* mainWindow, QTimer* statusTimer,
                             std::function<void()> statusPoll);

// Result codes: style 0 (OK) gives 1; style 1 (OK, Cancel) 1 or 2; style 4
// (Yes, No) 6 or 7; any other style keeps the previous buttons and gives 0.
// While the window is already up a further call shows nothing and gives 0:
// one window, never a nest of them.
qint16 ShowMessage(const QString& message, qint16 style, const QString& title);
// Style 4 when the operator's option asks for it, true only for Yes; true
// without asking when the option is off.
bool do_cancel(const QString& message, const QString& title);
bool do_unlink(const QString& message, const QString& title);
