#pragma once

#include <QDialog>

class FillPanel;
class QLabel;

// The start-up progress window: the step being loaded and how far along it is.
class ProgressForm : public QDialog {
    Q_OBJECT
public:
    explicit ProgressForm(QWidget* parent = nullptr);

    // 0 … 100; the value already shown changes nothing.
    void set_value(int percent);
    int value() const;
    void setStepText(const QString& text);

private:
    // Controls; tests and outside checks find them by objectName.
    QLabel* const lblProgress;
    FillPanel* const pnlProgress;
};
