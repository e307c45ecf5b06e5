#include "MaskedEdit.h"

#include <QFocusEvent>
#include <QRegularExpressionValidator>
#include <QTimer>

MaskedEdit::MaskedEdit(const QString& pattern, QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight);
    setPattern(pattern);
}

void MaskedEdit::setPattern(const QString& pattern) {
    m_pattern = pattern;
    const int width = int(pattern.size());
    setMaxLength(width);
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9 ]{0,%1}").arg(width)), this));
    setMaximumWidth(fontMetrics().horizontalAdvance(QString(width + 2, u'0')) + 12);
}

QString MaskedEdit::ClipText() const {
    return QString(text()).remove(u' ');
}

int MaskedEdit::SelStart() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void MaskedEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // After the line edit's own placing of the cursor for a mouse click.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            SelectAllText(*this);
    });
    emit entered();
}

void MaskedEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A popup menu of the field itself is no leaving.
    if (event->reason() != Qt::PopupFocusReason)
        emit left();
}

void SelectAllText(MaskedEdit& field) {
    field.setSelection(0, int(field.Text().size()));
}
