#pragma once

#include <QMessageBox>
#include <QString>

// Texts for the operator keep the system's single carriage returns as line
// breaks; Qt's widgets break lines at "\n", so a widget shows this instead.
inline QString ShownText(QString text) {
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

// A plain platform warning box over `parent` with a text in the system's form.
inline void WarningBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, ShownText(text));
}
