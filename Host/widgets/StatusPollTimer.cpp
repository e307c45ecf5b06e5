#include "StatusPollTimer.h"

#include "RequestCodes.h"
#include "RequestQueue.h"

#include <QEvent>
#include <QWidget>

StatusPollTimer::StatusPollTimer(QWidget* window, const QTimer* statusTimer,
                                 std::function<void()> onTick, QObject* parent)
    : QObject(parent), m_window(window), m_statusTimer(statusTimer), m_onTick(std::move(onTick)),
      m_timer(this) {
    connect(&m_timer, &QTimer::timeout, this, &StatusPollTimer::tick);
    if (window) {
        window->installEventFilter(this);
        if (window->isVisible())
            follow();
    }
}

bool StatusPollTimer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window) {
        if (event->type() == QEvent::Show)
            follow();
        else if (event->type() == QEvent::Hide)
            m_timer.stop();
    }
    return QObject::eventFilter(watched, event);
}

bool StatusPollTimer::follow() {
    if (!m_window || !m_window->isVisible() || !m_statusTimer || !m_statusTimer->isActive()) {
        m_timer.stop();
        return false;
    }
    if (m_timer.interval() != m_statusTimer->interval() || !m_timer.isActive())
        m_timer.start(m_statusTimer->interval());
    return true;
}

void StatusPollTimer::tick() {
    if (follow() && m_onTick)
        m_onTick();
}

void PostStatusPollIfIdle() {
    if (QueueIsEmpty())
        PostRequest(Request::StatusPoll);
}
