#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

// Answers the next modal message boxes as an operator would: watches for an
// active modal QMessageBox, records its title and text, and presses a button.
class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    explicit ModalAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok,
                           QObject* parent = nullptr);

    // Answer this many boxes in turn; later boxes get the last answer.
    void setAnswers(const QList<QMessageBox::StandardButton>& answers);

    int count() const { return m_titles.size(); }
    QString lastTitle() const { return m_titles.isEmpty() ? QString() : m_titles.last(); }
    QString lastText() const { return m_texts.isEmpty() ? QString() : m_texts.last(); }
    QMessageBox::Icon lastIcon() const { return m_lastIcon; }
    QStringList texts() const { return m_texts; }

private:
    void poll();

    QTimer m_timer;
    QList<QMessageBox::StandardButton> m_answers;
    QStringList m_titles;
    QStringList m_texts;
    QMessageBox::Icon m_lastIcon = QMessageBox::NoIcon;
};
