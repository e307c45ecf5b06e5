#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The bar inside the progress window: a filled box from the left edge to the
// share of the width the percentage gives.
class ProgressBox : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBox(QWidget* parent = nullptr);
    int percent() const { return m_percent; }
    void setPercent(int percent);
    QSize sizeHint() const override { return {240, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_percent = 0;
};

// The small progress window of the viewer's long operations (reading a file,
// drawing): caption and message set by each user, a bar, and "O.K." to close.
class frmProgress : public QWidget {
    Q_OBJECT
public:
    explicit frmProgress(QWidget* parent = nullptr);

    // Shows the window modeless with this caption and message and an empty bar,
    // painted at once (the work that follows does not return to the event loop).
    void start(const QString& caption, const QString& message);
    // Redraws the bar when the percentage differs from the last one drawn.
    void SetValue(int percent);
    int value() const;

private:
    QLabel* lblDone;
    ProgressBox* pbxDone;
    QPushButton* cmdOK;
};
