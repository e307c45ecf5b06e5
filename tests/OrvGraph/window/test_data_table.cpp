// The data table: its layout of 16350-row groups, the cells and headings the
// view shows for a long file, column widths and alignment, the column limit's
// refusal, and a table built once per file.

#include "DateSerial.h"
#include "ModalAnswerer.h"
#include "Twips.h"
#include "frmData.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace {

const QLocale kLocale(QStringLiteral("en_GB"));

// Points a minute apart from midnight; set j's level at point i is
// 30 + j + (i mod 1000) / 10.
GraphData minuteData(int points, int sets) {
    GraphData data;
    const double start = DateSerial::fromDate(QDate(2003, 1, 6));
    for (int i = 0; i < points; ++i)
        data.times.push_back(start + i / 1440.0);
    for (int j = 0; j < sets; ++j) {
        DataSet set;
        set.name = QStringLiteral("Set %1").arg(j);
        for (int i = 0; i < points; ++i)
            set.values.push_back(30.0f + float(j) + float(i % 1000) / 10.0f);
        data.sets << set;
    }
    return data;
}

} // namespace

class DataTableTest : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void longFileCells_data();
    void longFileCells();
    void longFileColumns();
    void tooManyColumnsIsRefused();
    void builtOncePerFile();
};

void DataTableTest::layout_data() {
    QTest::addColumn<qsizetype>("points");
    QTest::addColumn<qsizetype>("sets");
    QTest::addColumn<qsizetype>("groups");
    QTest::addColumn<qsizetype>("rows");
    QTest::addColumn<qsizetype>("columns");
    QTest::addColumn<bool>("fits");
    QTest::newRow("40000 points, 3 sets") << qsizetype(40000) << qsizetype(3) << qsizetype(3)
                                          << qsizetype(16351) << qsizetype(14) << true;
    QTest::newRow("one point, 2 sets")
        << qsizetype(1) << qsizetype(2) << qsizetype(1) << qsizetype(2) << qsizetype(3) << true;
    QTest::newRow("16349 points fill one group") << qsizetype(16349) << qsizetype(1) << qsizetype(1)
                                                 << qsizetype(16350) << qsizetype(2) << true;
    QTest::newRow("5450 columns") << qsizetype(1) << qsizetype(5449) << qsizetype(1) << qsizetype(2)
                                  << qsizetype(5450) << true;
    QTest::newRow("5451 columns") << qsizetype(1) << qsizetype(5450) << qsizetype(1) << qsizetype(2)
                                  << qsizetype(5451) << false;
    QTest::newRow("million points, 10 sets") << qsizetype(1000000) << qsizetype(10) << qsizetype(62)
                                             << qsizetype(16351) << qsizetype(743) << true;
}

void DataTableTest::layout() {
    QFETCH(qsizetype, points);
    QFETCH(qsizetype, sets);
    const DataTableLayout layout = DataTableLayout::of(points, sets);
    QTEST(layout.groups, "groups");
    QTEST(layout.rows, "rows");
    QTEST(layout.columns, "columns");
    QTEST(layout.fits(), "fits");
}

void DataTableTest::longFileCells_data() {
    // Table rows count the heading row: model row r is table row r + 1.
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("first date, at midnight") << 0 << 0 << "06/01/2003";
    QTest::newRow("first level") << 0 << 1 << "30";
    QTest::newRow("gap between groups") << 0 << 4 << "";
    QTest::newRow("point 16350 heads group 2") << 0 << 5 << "17/01/2003 08:30:00";
    QTest::newRow("its third set") << 0 << 8 << "67";
    QTest::newRow("last point, third set") << 7299 << 13 << "131.9";
    QTest::newRow("past the last point") << 7300 << 10 << "";
}

void DataTableTest::longFileCells() {
    QFETCH(int, row);
    QFETCH(int, column);
    const GraphData data = minuteData(40000, 3);
    frmData window;
    window.ShowData(data, kLocale);
    const QAbstractItemModel* model = window.table()->model();
    QCOMPARE(model->rowCount() + 1, 16351);
    QCOMPARE(model->columnCount(), 14);
    QTEST(model->index(row, column).data().toString(), "text");
}

void DataTableTest::longFileColumns() {
    const GraphData data = minuteData(40000, 3);
    frmData window;
    window.ShowData(data, kLocale);
    const QTableView* table = window.table();
    const QAbstractItemModel* model = table->model();
    const QStringList headings = {"Date", "Set 0", "Set 1", "Set 2", ""};
    for (int column = 0; column < 14; ++column) {
        const int offset = column % 5;
        QCOMPARE(model->headerData(column, Qt::Horizontal).toString(), headings[offset]);
        QCOMPARE(
            model->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignCenter);
        const auto alignment =
            model->index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        QCOMPARE(bool(alignment & Qt::AlignRight), offset >= 1 && offset <= 3);
        if (offset == 0)
            QCOMPARE(table->columnWidth(column), Twips::toPixels(2000));
        else if (offset <= 3)
            QCOMPARE(table->columnWidth(column), Twips::toPixels(900));
    }
}

void DataTableTest::tooManyColumnsIsRefused() {
    const GraphData data = minuteData(1, 5450);
    frmData window;
    QSignalSpy started(&window, &frmData::ModalStart);
    QSignalSpy stopped(&window, &frmData::ModalStop);
    ModalAnswerer answerer(QMessageBox::Ok);
    window.ShowData(data, kLocale);
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.lastTitle(), QStringLiteral("Orv"));
    QCOMPARE(answerer.lastText(), Messages::kTooMuchData);
    QCOMPARE(answerer.lastIcon(), QMessageBox::NoIcon);
    QCOMPARE(started.count(), 1);
    QCOMPARE(stopped.count(), 1);
    QVERIFY(!window.isBuilt());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.table()->model()->columnCount(), 0);
}

void DataTableTest::builtOncePerFile() {
    const GraphData data = minuteData(10, 2);
    frmData window;
    QSignalSpy started(&window, &frmData::ModalStart);
    QSignalSpy built(window.table()->model(), &QAbstractItemModel::modelReset);
    window.ShowData(data, kLocale);
    window.close();
    QVERIFY(window.isBuilt());
    window.ShowData(data, kLocale);
    QVERIFY(window.isVisible());
    QCOMPARE(started.count(), 1);
    QCOMPARE(built.count(), 1);

    // Another file: the table goes and is built afresh for it.
    window.discard();
    QVERIFY(!window.isVisible());
    QCOMPARE(window.table()->model()->rowCount(), 0);
    const GraphData next = minuteData(3, 1);
    window.ShowData(next, kLocale);
    QCOMPARE(started.count(), 2);
    QCOMPARE(window.table()->model()->rowCount() + 1, 4);
}

QTEST_MAIN(DataTableTest)
#include "test_data_table.moc"
