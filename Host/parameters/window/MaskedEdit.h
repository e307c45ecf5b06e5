#pragma once

#include <QLineEdit>

// A numeric entry field with a display pattern ("###", "#0", "00", "##"):
// only digits and blanks up to the pattern's width can be typed. Its text as
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
};

// Selects the whole text, so that typing replaces it.
void SelectAllText(MaskedEdit& field);
