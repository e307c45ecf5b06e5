#pragma once

#include "Axes.h"

#include <QDialog>
#include <QLocale>

#include <optional>

class GridGroup;
class QLineEdit;
class QRadioButton;

// "X-Axis Properties": the time axis mode, the range of "Zoom to be between" and
// the time grid lines. Loaded once and hidden between uses.
class frmXAxis : public QDialog {
    Q_OBJECT
public:
    explicit frmXAxis(const QLocale& locale, QWidget* parent = nullptr);

    // Fills the controls from the axis, shows the dialog modally and, when it is
    // accepted, writes the choices back. True when accepted.
    bool edit(TimeAxis& axis);

    void accept() override;

private:
    int GetOption() const;
    // A time of day in a form the dialog fills in or the plain "h:mm[:ss]", or
    // nothing.
    std::optional<double> timeOfDay(const QString& text) const;
    // The date-time of a date and time box pair, or nothing.
    std::optional<double> entered(int index) const;
    // Whether the four boxes still hold what the dialog filled in.
    bool boxesUnchanged() const;
    // The range the boxes give: the one shown when they are unchanged (the boxes
    // round it), else the one typed in, in either order.
    std::optional<std::pair<double, double>> range() const;
    // Reports a failed check on a box and gives it the focus.
    void refuse(QLineEdit* box, const QString& message);

    QLocale m_locale;
    int m_shownYear = 0;
    double m_shownStart = 0;
    double m_shownEnd = 0;
    QString m_filled[4]; // the texts of txtDate0, txtTime0, txtDate1, txtTime1
    QRadioButton* optZoom[5] = {};
    QLineEdit* txtDate[2] = {};
    QLineEdit* txtTime[2] = {};
    GridGroup* m_major = nullptr;
    GridGroup* m_minor = nullptr;
};
