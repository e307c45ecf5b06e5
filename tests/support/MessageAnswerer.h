#pragma once

#include "Controls.h"
#include "frmMessage.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// Answers the program's message window as an operator would, each time it is
// shown: presses a button, the Escape key or the close box, after a pause, and
// records what the window showed.
class MessageAnswerer : public QObject {
public:
    enum class Answer { Confirm, Cancel, Escape, CloseBox };

    struct Seen {
        QString title;
        QString text;
        bool confirmShown = false;
        QString confirmCaption;
        QString cancelCaption;
        QRect confirm;
        QRect cancel;
        QRect label;
        QRect frame;
    };

    explicit MessageAnswerer(QList<Answer> answers = {Answer::Confirm}, int delayMs = 20)
        : m_answers(std::move(answers)), m_delayMs(delayMs) {
        qApp->installEventFilter(this);
    }
    ~MessageAnswerer() override { qApp->removeEventFilter(this); }

    // Called while the window is up, before it is answered.
    std::function<void(frmMessage*)> whileShown;
    QList<Seen> seen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == "frmMessage") {
            QPointer<frmMessage> window = static_cast<frmMessage*>(watched);
            QTimer::singleShot(m_delayMs, this, [this, window] { answer(window); });
        }
        return false;
    }

private:
    void answer(frmMessage* window) {
        if (!window || !window->isVisible())
            return;
        seen << Seen{window->windowTitle(),
                     Control<QLabel>(window, "lblMessage")->text(),
                     !Control<QPushButton>(window, "cmdConfirm")->isHidden(),
                     Control<QPushButton>(window, "cmdConfirm")->text(),
                     Control<QPushButton>(window, "cmdCancel")->text(),
                     Control<QPushButton>(window, "cmdConfirm")->geometry(),
                     Control<QPushButton>(window, "cmdCancel")->geometry(),
                     Control<QLabel>(window, "lblMessage")->geometry(),
                     window->frameGeometry()};
        if (whileShown)
            whileShown(window);
        const Answer answer = m_answers.value(qMin(seen.size(), m_answers.size()) - 1);
        switch (answer) {
        case Answer::Confirm:
            Control<QPushButton>(window, "cmdConfirm")->click();
            break;
        case Answer::Cancel:
            Control<QPushButton>(window, "cmdCancel")->click();
            break;
        case Answer::Escape:
            QTest::keyClick(window, Qt::Key_Escape);
            break;
        case Answer::CloseBox:
            window->close();
            break;
        }
    }

    QList<Answer> m_answers;
    int m_delayMs;
};
