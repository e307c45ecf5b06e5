#pragma once

// Every control carries its name as its objectName, so that tests and the
// accessibility tools find it.

#include <QLabel>
#include <QPushButton>
#include <QString>

template <typename T> T* Named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

inline QLabel* NamedLabel(const QString& name, const QString& caption, QWidget* parent) {
    return Named(new QLabel(caption, parent), name);
}

inline QPushButton* NamedButton(const QString& name, const QString& caption, QWidget* parent) {
    return Named(new QPushButton(caption, parent), name);
}
// A caption that names the control beside it, which its access key moves to.
inline QLabel* BuddyLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}
