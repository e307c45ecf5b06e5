#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class QWidget;

// A window's own status-poll timer. The main window's status timer is the one
// setting: while `window` is shown this timer takes that timer's enabled state
// and interval (looked at again on every show and every tick) and calls onTick
// on each tick; while the window is hidden it is stopped, so a hidden window
// never polls.
class StatusPollTimer : public QObject {
    Q_OBJECT
public:
    StatusPollTimer(QWidget* window, const QTimer* statusTimer, std::function<void()> onTick,
                    QObject* parent = nullptr);

    QTimer& timer() { return m_timer; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Copies the status timer's state; false when polling is off.
    bool follow();
    void tick();

    QPointer<QWidget> m_window;
    QPointer<const QTimer> m_statusTimer;
    std::function<void()> m_onTick;
    QTimer m_timer;
};

// The usual tick of a window's timer: post the status poll (request 2) when
// the request queue is empty, so that polls never pile up.
void PostStatusPollIfIdle();
