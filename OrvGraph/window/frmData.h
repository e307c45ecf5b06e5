#pragma once

#include "GraphData.h"

#include <QAbstractTableModel>
#include <QLocale>
#include <QWidget>

class QTableView;

namespace Messages {
inline const QString kTooMuchData = QStringLiteral("There is too much data to format.\r"
                                                   "Operation cancelled");
}

// The data table's layout: the points in groups of up to 16350 rows side by
// side, each group a date column and one column per data set, with an empty
// column between groups.
struct DataTableLayout {
    static constexpr qsizetype kRowsPerGroup = 16350;
    static constexpr qsizetype kMaxColumns = 5450;
    // Column widths in twips.
    static constexpr int kDateWidth = 2000;
    static constexpr int kValueWidth = 900;

    qsizetype sets = 0;
    qsizetype groups = 0;
    qsizetype rows = 0; // the heading row included
    qsizetype columns = 0;

    static DataTableLayout of(qsizetype points, qsizetype sets);
    bool fits() const { return columns <= kMaxColumns; }
    // Where point i's date is: the group's first column and the table row
    // (row 0 is the heading row).
    qsizetype dateColumnOf(qsizetype point) const;
    static qsizetype rowOf(qsizetype point) { return point % kRowsPerGroup + 1; }
};

// The table's cells, made when the view asks for them: the data stays in the
// viewer's GraphData and nothing is kept per cell. The heading row is the
// view's horizontal header, so model row r is table row r + 1.
class DataTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows this data (nothing for nullptr); it must outlive the model's use of it.
    void setSource(const GraphData* data, const DataTableLayout& layout, const QLocale& locale);
    const DataTableLayout& layout() const { return m_layout; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    enum class Kind { Date, Value, Gap };
    struct Cell {
        Kind kind = Kind::Gap;
        qsizetype point = 0;
        qsizetype set = 0;
    };
    Cell cellAt(int row, int column) const;
    QString dateText(double serial) const;
    QString valueText(float value) const;

    const GraphData* m_data = nullptr;
    DataTableLayout m_layout;
    QLocale m_locale;
    QString m_timeFormat;
};

// "Orv Graphing Utility - View Data": the open file's data as a table, built
// once per file and then only shown again. Closing it hides it.
class frmData : public QWidget {
    Q_OBJECT
public:
    explicit frmData(QWidget* parent = nullptr);

    // Builds the table for the data unless it is built, then shows the window
    // modeless. Data that needs more columns than the table holds is refused
    // with a message and the table stays unbuilt. The data must stay in place
    // until discard() is called.
    void ShowData(const GraphData& data, const QLocale& locale = QLocale::system());
    bool isBuilt() const { return m_built; }
    // Forgets the table (another file is opened or the file is closed) and
    // hides the window.
    void discard();

    QTableView* table() const { return grdData; }
    DataTableModel* model() const { return m_model; }

signals:
    // Around a build, the refusal message included.
    void ModalStart();
    void ModalStop();

private:
    bool build(const GraphData& data, const QLocale& locale);

    QTableView* grdData;
    DataTableModel* m_model;
    bool m_built = false;
};
