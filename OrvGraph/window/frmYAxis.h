#pragma once

#include "Axes.h"

#include <QDialog>
#include <QLocale>

#include <optional>

class GridGroup;
class QCheckBox;
class QLineEdit;

// "Y-Axis Properties": the level scale's values or their automatic choice, the
// round-off and the level grid lines. Loaded once and hidden between uses.
class frmYAxis : public QDialog {
    Q_OBJECT
public:
    // Values are shown and read in the locale's form (a point is also read).
    explicit frmYAxis(const QLocale& locale, QWidget* parent = nullptr);

    // Fills the controls from the axis, shows the dialog modally and, when it is
    // accepted, writes the choices back. True when accepted.
    bool edit(LevelAxis& axis);

    void accept() override;

    static void SetCheck(QCheckBox* box, bool flag);

private:
    enum Field { Min, Max, Major, Minor, FieldCount };

    std::optional<double> value(Field field) const;
    void refuse(Field field, const QString& message);

    QLocale m_locale;
    QCheckBox* m_auto[FieldCount] = {};
    QLineEdit* m_text[FieldCount] = {};
    QCheckBox* chkRound = nullptr;
    GridGroup* m_major = nullptr;
    GridGroup* m_minor = nullptr;
};
