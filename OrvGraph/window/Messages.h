#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The viewer's message boxes. Texts keep the carriage returns they are written
// with; the box shows each as a line break.
namespace Messages {

inline const QString kTitle = QStringLiteral("Orv");
inline const QString kNoData = QStringLiteral("No data was read from the file.\r"
                                              "The file must be a valid Orv data file\r"
                                              "with at least one set of data.");
inline const QString kConfirmTitle = QStringLiteral("Please Confirm Action...");
inline const QString kConfirmClose = QStringLiteral("Are you sure you want to close the file?");

// A modal box with the title, text, icon and buttons; returns the button pressed.
QMessageBox::StandardButton show(QWidget* parent, const QString& title, const QString& text,
                                 QMessageBox::Icon icon,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok);

} // namespace Messages
