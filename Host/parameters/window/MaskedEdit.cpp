#include "MaskedEdit.h"

#include "NumericEntry.h"
#include "frmMessage.h"

#include <QFocusEvent>
#include <QRegularExpressionValidator>
#include <QTimer>

MaskedEdit::MaskedEdit(const QString& pattern, QWidget* parent)
    : QLineEdit(parent), m_validator(new QRegularExpressionValidator(this)) {
    setAlignment(Qt::AlignRight);
    setValidator(m_validator);
    setPattern(pattern);
}

void MaskedEdit::setPattern(const QString& pattern) {
    m_pattern = pattern;
    const int width = int(pattern.size());
    setMaxLength(width);
    // A pattern with a decimal point admits one point among the digits.
    m_validator->setRegularExpression(
        QRegularExpression(pattern.contains(u'.') ? QStringLiteral("[0-9 ]*\\.?[0-9]*")
                                                  : QStringLiteral("[0-9 ]{0,%1}").arg(width)));
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
    // A popup menu of the field, or a message or another window coming up,
    // is no leaving of the field.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit left();
}

void SelectAllText(MaskedEdit& field) {
    field.setSelection(0, int(field.Text().size()));
}

bool ValidateNumberField(MaskedEdit& field, qint16 minimum, qint16 maximum) {
    const EntryCheck check = ValidateNumberField(field.Text(), minimum, maximum, field.pattern());
    field.setText(check.text);
    if (!check.message.isEmpty())
        ShowMessage(check.message, 0, check.title);
    return check.acceptable;
}

qint16 FieldValue(const MaskedEdit& field, qint16 minimum, qint16 maximum) {
    return ValidateNumberField(field.Text(), minimum, maximum, field.pattern())
        .text.trimmed()
        .toShort();
}

MaskedEdit* NamedField(const QString& name, const QString& pattern, const QString& spoken,
                       QWidget* parent) {
    auto* field = new MaskedEdit(pattern, parent);
    field->setObjectName(name);
    field->setAccessibleName(spoken);
    return field;
}
