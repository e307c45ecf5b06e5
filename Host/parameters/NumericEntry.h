#pragma once

// Typed numbers in masked entry fields: formatting to a display pattern, the
// check made when a field is left, and the stepping of spin buttons. The
// routines work on the field's text; the window puts the result back into the
// field and shows the message, if any, with one OK button.
//
// Patterns: "#" an optional digit, "0" a required one, "." the decimal point;
// the width of a pattern is its number of characters. At least one digit is
// always shown, so a zero never formats as blanks.

#include <QByteArray>
#include <QList>
#include <QString>

// Right-aligned to the pattern's width.
QString FormatNumberField(qint16 value, const QString& pattern);
QString FormatRealField(float value, const QString& pattern);

// The outcome of checking a field: the text it shows from now on, and the
// message to show when the value had to be replaced (empty title and message
// when it was acceptable).
struct EntryCheck {
    bool acceptable = false;
    QString text;
    QString title;
    QString message;
};

// Typed numbers are corrected, never rejected: an empty field takes the
// minimum, a value out of range the nearest limit, and an acceptable value is
// re-formatted. Text that is no number counts as empty.
EntryCheck ValidateNumberField(const QString& text, qint16 minimum, qint16 maximum,
                               const QString& pattern);
EntryCheck ValidateRealField(const QString& text, float minimum, float maximum,
                             const QString& pattern);
// Text that is no number takes the default value.
EntryCheck CheckRealText(const QString& text, float defaultValue, const QString& pattern);

// Spin buttons: one step with wrap-around, giving the field's new text.
// Text that is no number is out of range and takes the wrap value.
QString StepDown(const QString& text, int minimum, int maximum, const QString& pattern);
QString StepUp(const QString& text, int minimum, int maximum, const QString& pattern);
QString StepRealDown(const QString& text, float minimum, float wrap, float step,
                     const QString& pattern);
QString StepRealUp(const QString& text, float wrap, float maximum, float step,
                   const QString& pattern);

// The percentile fields' values as the set's LIndices: one byte each, in
// ascending order, duplicates kept.
QByteArray SortPercentiles(const QList<int>& values);
