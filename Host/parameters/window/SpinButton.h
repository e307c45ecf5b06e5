#pragma once

#include <QWidget>

class QToolButton;

// A pair of arrow buttons that step the value of the field beside it. The
// arrow keys step too while the spin button has the focus.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    // name: what the buttons are read out as, with " up" and " down".
    explicit SpinButton(const QString& name, QWidget* parent = nullptr);

    QToolButton* const upButton;
    QToolButton* const downButton;

signals:
    void SpinUp();
    void SpinDown();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
