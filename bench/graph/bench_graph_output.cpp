// The viewer's ways off the screen on a long survey: a statistical file of
// 1,000,000 rows with 10 data sets, read as the viewer reads it, then its whole
// view printed to PDF (time and file size) and its data table opened (time to
// the first painted screen and the memory it adds).
//
// Usage: bench_graph_output [--keep <folder>]   (keeps the file and the PDF there)

#include "Axes.h"
#include "BenchRun.h"
#include "DataFileReader.h"
#include "DataFileWriter.h"
#include "GraphOutput.h"
#include "frmData.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

#include <unistd.h>

namespace {

const QLocale kLocale(QStringLiteral("en_GB"));
constexpr int kRows = 1000000;
constexpr int kPrintRuns = 3;
// The screen view the printout copies.
const QSizeF kScreen(1000, 600);

constexpr double kPrintTargetMs = 1000.0;
constexpr double kPdfTargetMB = 2.0;
constexpr double kTableTargetMs = 200.0;
constexpr double kTableTargetMB = 20.0;

QTextStream out(stdout);

double residentMB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1e6 : 0.0;
}

QString writeSurvey(const QDir& folder) {
    using namespace DataFileWriter;
    const QDateTime start(QDate(2003, 1, 6), QTime(0, 0), Qt::UTC);
    const QList<Column> columns = statisticalColumns({10, 50, 90, 99});
    std::vector<Row> rows = statisticalRows(start, kRows, 1);
    // Ten data sets: the levels, four percentiles, Lmin, temperature, battery
    // and overload, as the viewer benchmark takes them.
    for (Row& row : rows) {
        const std::vector<double>& v = row.values;
        row.values = {v[0], v[1], v[4], v[6], v[7], v[9], v[10], v[11], v[12], v[13]};
    }
    const QString path = folder.filePath(QStringLiteral("million_Sta.csv"));
    writeFile(path, statisticalFile(kLocale, typicalHeader(kLocale, start, rows.back().time, false),
                                    columns, rows));
    return path;
}

QString verdict(bool met, const char* target) {
    return QStringLiteral("  (target %1 %2)").arg(QLatin1String(target), met ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    const QStringList arguments = app.arguments();
    const QDir folder = KeptFolder(arguments, QDir(temporary.path()));

    out << "Writing a statistical file of " << kRows << " rows in " << folder.path() << " ...\n";
    out.flush();
    const QString path = writeSurvey(folder);
    ReadOptions options;
    options.locale = kLocale;
    ReadResult read = readDataFile(path, options);
    if (read.status != ReadResult::Status::Read || !read.data.hasData()) {
        out << "cannot read " << path << ": " << read.error.description << "\n";
        return 1;
    }
    GraphData data = std::move(read.data);
    applyDefaultStyles(data);
    out << QFileInfo(path).fileName() << ": " << data.pointCount() << " rows, " << data.setCount()
        << " data sets, " << QString::number(QFileInfo(path).size() / 1e6, 'f', 1) << " MB\n";

    PlotArea view = initPlotArea(kScreen, QFontMetricsF(app.font()), 13, 1.0);
    viewAllData(view.timeAxis, data);
    const QString pdf = folder.filePath(QStringLiteral("million.pdf"));
    double printMs = 1e300;
    for (int run = 0; run < kPrintRuns; ++run) {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QElapsedTimer timer;
        timer.start();
        const PrintOutcome outcome = PrintGraph(nullptr, printer, data, view, app.font(), kLocale,
                                                [](QPrinter&, QWidget*) { return true; });
        printMs = std::min(printMs, timer.nsecsElapsed() / 1e6);
        if (outcome.status != PrintOutcome::Status::Printed) {
            out << "printing failed: " << outcome.message << "\n";
            return 1;
        }
    }
    const double pdfMB = QFileInfo(pdf).size() / 1e6;
    out << "  print to PDF     " << QString::number(printMs, 'f', 1) << " ms"
        << verdict(printMs < kPrintTargetMs, "< 1 s") << "\n";
    out << "  PDF size         " << QString::number(pdfMB, 'f', 2) << " MB"
        << verdict(pdfMB < kPdfTargetMB, "< 2 MB") << "\n";

    // The first opening builds the table; what it costs is the time to its
    // first painted screen and the memory it holds on to.
    frmData table;
    const double before = residentMB();
    QElapsedTimer timer;
    timer.start();
    table.ShowData(data, kLocale);
    table.repaint();
    table.table()->viewport()->repaint();
    const double tableMs = timer.nsecsElapsed() / 1e6;
    const double addedMB = residentMB() - before;
    timer.restart();
    table.close();
    table.ShowData(data, kLocale);
    table.table()->viewport()->repaint();
    const double againMs = timer.nsecsElapsed() / 1e6;
    out << "  open data table  " << QString::number(tableMs, 'f', 1) << " ms"
        << verdict(tableMs < kTableTargetMs, "< 200 ms") << ", "
        << table.table()->model()->columnCount() << " columns of "
        << table.table()->model()->rowCount() + 1 << " rows\n";
    out << "  its memory       +" << QString::number(addedMB, 'f', 1) << " MB resident"
        << verdict(addedMB < kTableTargetMB, "< 20 MB") << "\n";
    out << "  shown again      " << QString::number(againMs, 'f', 1) << " ms\n";
    out << "\n(printing best of " << kPrintRuns << " runs; the table opened once)\n";
    out.flush();
    return 0;
}
