#pragma once

#include "RequestQueue.h"
#include "StatusPollTimer.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class ControlPanel;
class QAbstractButton;

// An activity window over the control panel, created once and hidden between
// uses. It holds what every such window does the same way: its requests
// belong to it for its life, it is hidden when the logger is unlinked, its
// status-poll timer runs only while it is shown, Escape and the close box act
// as its Cancel, and the panel's controls are disabled while it is shown.
// Each window asks for the parts it has in its constructor.
class ActivityWindow : public QDialog {
    Q_OBJECT
public:
    ~ActivityWindow() override;

public slots:
    // Presses the Cancel button set with cancelWith, when it is enabled.
    void reject() override;

protected:
    explicit ActivityWindow(ControlPanel* panel, Qt::WindowFlags flags = {});

    ControlPanel* controlPanel() const { return m_panel; }
    // The action runs the request until this window is destroyed.
    void registerRequest(qint16 code, RequestAction action);
    void hideOnUnlink();
    // A status-poll timer that follows the panel's status timer while this
    // window is shown.
    StatusPollTimer* pollStatusWhileShown(std::function<void()> onTick = PostStatusPollIfIdle);
    // Escape and the close box press this button, and do nothing while it is disabled.
    void cancelWith(QAbstractButton* button);
    void disablePanelWhileShown() { m_disablesPanel = true; }

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    ControlPanel* const m_panel;
    QList<qint16> m_requests;
    QPointer<QAbstractButton> m_cancel;
    bool m_disablesPanel = false;
};
