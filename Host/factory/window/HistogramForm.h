#pragma once

#include "ActivityWindow.h"
#include "HistogramList.h"

#include <QList>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class ControlPanel;

// The histogram window of the factory tools: reads the logger's level
// histogram bin by bin, lists its non-zero bins and switches its buffers.
class HistogramForm : public ActivityWindow {
    Q_OBJECT
public:
    explicit HistogramForm(ControlPanel* panel);

    void get_histogram(); // request 25
    void processData();
    void resetScreen();

    const Logger::HistogramCounts& counts() const { return m_counts; }
    int rowCount() const { return m_rowCount; }

private:
    // Controls; tests and outside checks find them by objectName.
    QPushButton* const Command1;
    QPushButton* const Command2;
    QPushButton* const Command3;
    QPushButton* const Command4;
    QLineEdit* const Progress;
    // Element 0 is always there; the rows below it are loaded by Process Data.
    QList<QLabel*> Bin;
    QList<QLabel*> Value;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showRow(int row, const ListedBin& listed);
    void setProgress(const QString& text);

    QGridLayout* const m_rows;
    Logger::HistogramCounts m_counts = {};
    int m_rowCount = 0;
};
