#include "SpinButton.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* Arrow(Qt::ArrowType arrow, const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAccessibleName(name);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus); // the pair takes the focus as one control
    button->setFixedSize(16, 11);
    return button;
}

} // namespace

SpinButton::SpinButton(const QString& name, QWidget* parent)
    : QWidget(parent), upButton(Arrow(Qt::UpArrow, name + " up", this)),
      downButton(Arrow(Qt::DownArrow, name + " down", this)) {
    setAccessibleName(name);
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(upButton);
    layout->addWidget(downButton);
    connect(upButton, &QToolButton::clicked, this, &SpinButton::SpinUp);
    connect(downButton, &QToolButton::clicked, this, &SpinButton::SpinDown);
}

void SpinButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up)
        emit SpinUp();
    else if (event->key() == Qt::Key_Down)
        emit SpinDown();
    else
        QWidget::keyPressEvent(event);
}
