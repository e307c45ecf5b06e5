#pragma once

#include <QLineEdit>

class QRegularExpressionValidator;

// A numeric entry field with a display pattern ("###", "#0", "00", "##",
// "#00.0"): only digits and blanks (and one point where the pattern has one)
// up to the pattern's width can be typed. Its text as
// shown is Text(); without the blanks that pad it, ClipText().
class MaskedEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskedEdit(const QString& pattern, QWidget* parent = nullptr);

    QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);

    QString Text() const { return text(); }
    void setText(const QString& text) { QLineEdit::setText(text); }
    QString ClipText() const;
    int SelStart() const;
    int SelLength() const { return int(selectedText().size()); }

signals:
    // The operator moved the focus into the field, or out of it.
    void entered();
    void left();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString m_pattern;
    QRegularExpressionValidator* const m_validator;
};

// Selects the whole text, so that typing replaces it.
void SelectAllText(MaskedEdit& field);

// Checks the field's number against its range on leaving: a bad value is
// replaced by the nearest limit and the operator told so. True when the value
// was acceptable.
bool ValidateNumberField(MaskedEdit& field, qint16 minimum, qint16 maximum);
// The field's number limited to the range, as a field that was emptied and
// never left would be corrected: empty or no number gives the minimum.
qint16 FieldValue(const MaskedEdit& field, qint16 minimum, qint16 maximum);

// A field found by name (tests, accessibility tools) and read out as spoken.
MaskedEdit* NamedField(const QString& name, const QString& pattern, const QString& spoken,
                       QWidget* parent);
