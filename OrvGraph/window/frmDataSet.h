#pragma once

#include "GraphData.h"

#include <QDialog>
#include <QList>

class LineSample;
class QCheckBox;
class QGridLayout;
class frmEditDataSet;

// "Current Data Sets": which data sets are drawn, with a sample of each one's
// line; a double-click (or Enter) on a sample edits its style.
class frmDataSet : public QDialog {
    Q_OBJECT
public:
    explicit frmDataSet(QWidget* parent = nullptr);

    // One row per set; shows the dialog modally and, when it is accepted,
    // writes the choices back. True when accepted.
    bool edit(QList<DataSet>& sets);

private:
    void editSample(LineSample* sample);
    void removeRows();

    QGridLayout* m_rows = nullptr;
    QList<QCheckBox*> chkData;
    QList<LineSample*> pbxSample;
    frmEditDataSet* m_lineStyle = nullptr;
};
