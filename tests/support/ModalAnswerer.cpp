#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>

ModalAnswerer::ModalAnswerer(QMessageBox::StandardButton answer, QObject* parent)
    : QObject(parent), m_answers{answer} {
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start();
}

void ModalAnswerer::setAnswers(const QList<QMessageBox::StandardButton>& answers) {
    m_answers = answers;
}

void ModalAnswerer::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("answered").toBool())
        return;
    box->setProperty("answered", true);
    m_titles << box->windowTitle();
    m_texts << box->text();
    m_lastIcon = box->icon();
    const int index = qMin(int(m_titles.size()) - 1, int(m_answers.size()) - 1);
    QAbstractButton* button = box->button(m_answers.value(index, QMessageBox::Ok));
    if (button)
        button->click();
    else
        box->reject();
}
