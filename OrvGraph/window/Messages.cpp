#include "Messages.h"

namespace Messages {

QMessageBox::StandardButton show(QWidget* parent, const QString& title, const QString& text,
                                 QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    return QMessageBox::StandardButton(box.exec());
}

} // namespace Messages
