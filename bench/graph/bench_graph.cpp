// How fast the viewer reads and draws a long survey, and how that compares with
// gnuplot, and with pandas and matplotlib, reading the same file and drawing the
// same lines to a PNG of the same size. Writes a statistical file of 100,000 rows with 10 data sets
// and a short-term Leq file of 14,400 rows, then prints MB/s for reading, ms for one full redraw,
// and ours against gnuplot. Then, in the viewer window itself on a statistical file of 1,000,000
// rows with 10 data sets, the redraw after a dragged zoom box, after Previous Window and after a
// page step.
//
// Usage: bench_graph [--keep <folder>]   (keeps the files and PNGs there)

#include "Axes.h"
#include "BenchRun.h"
#include "DataFileReader.h"
#include "DataFileWriter.h"
#include "GraphPainter.h"
#include "frmGraph.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

const QSize kImageSize(1000, 600);
const QLocale kLocale(QStringLiteral("en_GB"));
constexpr int kStatisticalRows = 100000;
constexpr int kViewerRows = 1000000;
constexpr int kViewerRuns = 5;
constexpr int kLeqRows = 14400;
constexpr int kReadRuns = 5;
constexpr int kDrawRuns = 10;
// Lines before the first data line: banner and 18 header lines, then for a
// statistical file an empty line, then the heading line.
constexpr int kStatisticalSkip = 21;
constexpr int kLeqSkip = 20;

// Targets the viewer is held to.
constexpr double kReadTargetMBps = 20.0;
constexpr double kRedrawTargetMs = 30.0;

QTextStream out(stdout);

QString writeStatistical(const QDir& folder, int count = kStatisticalRows,
                         const QString& name = QStringLiteral("bench_Sta.csv"),
                         const QLocale& locale = kLocale) {
    using namespace DataFileWriter;
    const QDateTime start(QDate(2003, 1, 6), QTime(0, 0), Qt::UTC);
    // Ten data sets: the levels, four percentiles, Lmin, temperature, battery
    // and overload.
    const QList<Column> columns = statisticalColumns({10, 50, 90, 99});
    std::vector<Row> rows = statisticalRows(start, count, 1);
    for (Row& row : rows) {
        const std::vector<double>& v = row.values; // Leq, Lmax, L1 L5 L10 L33 L50 L90 L95 L99, ...
        row.values = {v[0], v[1], v[4], v[6], v[7], v[9], v[10], v[11], v[12], v[13]};
    }
    const QString path = folder.filePath(name);
    writeFile(path, statisticalFile(locale, typicalHeader(locale, start, rows.back().time, false),
                                    columns, rows));
    return path;
}

QString writeLeq(const QDir& folder) {
    using namespace DataFileWriter;
    const QDateTime start(QDate(2003, 1, 6), QTime(8, 0), Qt::UTC);
    const std::vector<Row> rows = leqRows(start, kLeqRows);
    const QString path = folder.filePath(QStringLiteral("bench_Leq0.csv"));
    writeFile(path, leqFile(kLocale, typicalHeader(kLocale, start, rows.back().time, true), rows));
    return path;
}

GraphData readOrDie(const QString& path) {
    ReadOptions options;
    options.locale = kLocale;
    ReadResult result = readDataFile(path, options);
    if (result.status != ReadResult::Status::Read || !result.data.hasData()) {
        out << "cannot read " << path << ": " << result.error.description << "\n";
        out.flush();
        std::exit(1);
    }
    applyDefaultStyles(result.data);
    return std::move(result.data);
}

void redraw(QImage& image, const GraphData& data) {
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(9);
    painter.setFont(font);
    PlotArea area = initPlotArea(QSizeF(image.size()), QFontMetricsF(font, &image), 13, 1.0);
    viewAllData(area.timeAxis, data);
    GraphPainter(painter, kLocale).redraw(area, data, QColor(212, 208, 200));
}

// gnuplot drawing every data column of the file as a line, to a PNG; its wall
// time in ms, or a negative value when gnuplot is not there or fails.
double gnuplotMs(const QString& dataPath, int columns, int skip, const QString& timeFormat,
                 const QString& pngPath) {
    const QString gnuplot = QStandardPaths::findExecutable(QStringLiteral("gnuplot"));
    if (gnuplot.isEmpty())
        return -1.0;
    const QString script =
        QStringLiteral("set terminal pngcairo size %1,%2\n"
                       "set output '%3'\n"
                       "set datafile separator ','\n"
                       "set xdata time\n"
                       "set format x \"%H:%M\\n%d/%m/%Y\"\n"
                       "set key off\n"
                       "plot for [i=3:%4] '%5' skip %6 using "
                       "(timecolumn(1,\"%d/%m/%Y\")+timecolumn(2,\"%7\")):i with lines\n")
            .arg(kImageSize.width())
            .arg(kImageSize.height())
            .arg(pngPath)
            .arg(columns + 2)
            .arg(dataPath)
            .arg(skip)
            .arg(timeFormat);
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(gnuplot, {});
        process.write(script.toUtf8());
        process.closeWriteChannel();
        if (!process.waitForFinished(120000) || process.exitCode() != 0 ||
            !QFileInfo(pngPath).size()) {
            out << "gnuplot failed: " << process.readAllStandardError() << "\n";
            return -1.0;
        }
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// pandas reading the file and matplotlib drawing every data column to a PNG,
// once (it takes seconds): the milliseconds of its imports, its read and its
// drawing, and the whole process's wall time; empty when python3 or either
// package is not there.
struct PandasFigures {
    double importMs = 0, readMs = 0, drawMs = 0, wallMs = 0;
};

std::optional<PandasFigures> pandasMs(const QString& dataPath, int skip, const QString& timeFormat,
                                      const QString& pngPath) {
    // Debian's interpreter, which Debian's packages are for, before any other on the path.
    QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {"/usr/bin"});
    if (python.isEmpty())
        python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return std::nullopt;
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(python,
                  {QStringLiteral(PANDAS_PLOT_SCRIPT), dataPath, QString::number(skip),
                   QStringLiteral("%d/%m/%Y ") + timeFormat, pngPath,
                   QString::number(kImageSize.width()), QString::number(kImageSize.height())});
    if (!process.waitForFinished(600000) || process.exitCode() != 0) {
        out << "pandas and matplotlib failed: " << process.readAllStandardError().trimmed() << "\n";
        return std::nullopt;
    }
    const double wallMs = timer.nsecsElapsed() / 1e6;
    const QList<QByteArray> seconds = process.readAllStandardOutput().trimmed().split('\n');
    if (seconds.size() != 3)
        return std::nullopt;
    return PandasFigures{seconds[0].toDouble() * 1000, seconds[1].toDouble() * 1000,
                         seconds[2].toDouble() * 1000, wallMs};
}

struct Figures {
    double mb = 0, readMs = 0, drawMs = 0, pngMs = 0, gnuplot = -1;
};

void measure(const QString& label, const QString& path, int skip, const QString& timeFormat,
             const QDir& keep) {
    Figures f;
    f.mb = QFileInfo(path).size() / 1e6;
    GraphData data;
    f.readMs = bestOf(kReadRuns, [&] { data = readOrDie(path); });
    QImage image(kImageSize, QImage::Format_RGB32);
    f.drawMs = bestOf(kDrawRuns, [&] { redraw(image, data); });
    const QString ours = keep.filePath(QFileInfo(path).completeBaseName() + "_ours.png");
    f.pngMs = bestOf(1, [&] { image.save(ours); });
    f.gnuplot = gnuplotMs(path, int(data.setCount()), skip, timeFormat,
                          keep.filePath(QFileInfo(path).completeBaseName() + "_gnuplot.png"));
    const std::optional<PandasFigures> pandas = pandasMs(
        path, skip, timeFormat, keep.filePath(QFileInfo(path).completeBaseName() + "_pandas.png"));

    out << "\n"
        << label << ": " << QFileInfo(path).fileName() << ", " << data.pointCount() << " rows, "
        << data.setCount() << " data sets, " << QString::number(f.mb, 'f', 2) << " MB\n";
    out << "  read             " << QString::number(f.readMs, 'f', 1)
        << " ms  = " << QString::number(f.mb / (f.readMs / 1000.0), 'f', 1) << " MB/s"
        << (f.mb / (f.readMs / 1000.0) >= kReadTargetMBps ? "  (target >= 20 MB/s met)"
                                                          : "  (target >= 20 MB/s MISSED)")
        << "\n";
    out << "  full redraw      " << QString::number(f.drawMs, 'f', 1) << " ms at "
        << kImageSize.width() << "x" << kImageSize.height()
        << (f.drawMs < kRedrawTargetMs ? "  (target < 30 ms met)" : "  (target < 30 ms MISSED)")
        << "\n";
    out << "  ours read+draw   " << QString::number(f.readMs + f.drawMs, 'f', 1) << " ms (+ "
        << QString::number(f.pngMs, 'f', 1) << " ms to save the PNG)\n";
    if (f.gnuplot < 0) {
        out << "  gnuplot          not available (install gnuplot-nox; run.sh does)\n";
    } else {
        const double ourTotal = f.readMs + f.drawMs + f.pngMs;
        out << "  gnuplot          " << QString::number(f.gnuplot, 'f', 1)
            << " ms to read and draw the same lines to a PNG\n";
        out << "  ours vs gnuplot  " << QString::number(ourTotal, 'f', 1) << " ms vs "
            << QString::number(f.gnuplot, 'f', 1) << " ms: ours "
            << QString::number(f.gnuplot / ourTotal, 'f', 1) << "x "
            << (ourTotal < f.gnuplot ? "faster" : "SLOWER") << "\n";
    }
    if (!pandas) {
        out << "  pandas           not available (install python3-pandas python3-matplotlib; "
               "run.sh does)\n";
    } else {
        const double ourTotal = f.readMs + f.drawMs + f.pngMs;
        out << "  pandas read      " << QString::number(pandas->readMs, 'f', 1)
            << " ms  = " << QString::number(f.mb / (pandas->readMs / 1000.0), 'f', 1)
            << " MB/s (ours " << QString::number(pandas->readMs / f.readMs, 'f', 1)
            << "x faster)\n";
        out << "  matplotlib draw  " << QString::number(pandas->drawMs, 'f', 1)
            << " ms to a PNG (ours "
            << QString::number(pandas->drawMs / (f.drawMs + f.pngMs), 'f', 1) << "x faster)\n";
        out << "  ours vs pandas   " << QString::number(ourTotal, 'f', 1) << " ms vs "
            << QString::number(pandas->wallMs, 'f', 1) << " ms (the whole python3 run, "
            << QString::number(pandas->importMs, 'f', 1) << " ms of it imports): ours "
            << QString::number(pandas->wallMs / ourTotal, 'f', 1) << "x "
            << (ourTotal < pandas->wallMs ? "faster" : "SLOWER") << "\n";
    }
    out.flush();
}

void mouse(QWidget* canvas, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(canvas, &event);
}

// A box dragged over the plot, shrink-th of it in from each edge.
void dragBox(frmGraph& form, double shrink) {
    QWidget* canvas = form.findChild<QWidget*>(QStringLiteral("pbxGraph"));
    const QRectF plot = form.plotArea().plotRect();
    const QPoint from(int(plot.left() + plot.width() * shrink),
                      int(plot.top() + plot.height() * shrink));
    const QPoint to(int(plot.right() - plot.width() * shrink),
                    int(plot.bottom() - plot.height() * shrink));
    mouse(canvas, QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(canvas, QEvent::MouseMove, to, Qt::LeftButton);
    mouse(canvas, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// Chooses "A Day At A Time" in the X axis dialog.
void pageByDay(frmGraph& form) {
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        dialog->findChild<QRadioButton*>(QStringLiteral("optZoom2"))->setChecked(true);
        dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    form.findChild<QAction*>(QStringLiteral("itmEditXAxis"))->trigger();
}

void measureViewer(const QDir& folder) {
    // In the regional settings the viewer reads with, as the host writes.
    const QString path =
        writeStatistical(folder, kViewerRows, QStringLiteral("million_Sta.csv"), QLocale::system());
    frmGraph form;
    form.resize(kImageSize);
    form.show();
    QApplication::processEvents();
    form.setOpenFileSource([path](QWidget*, const QString&) { return path; });
    form.findChild<QAction*>(QStringLiteral("itmReadFile"))->trigger();
    QAction* previous = form.findChild<QAction*>(QStringLiteral("itmZoomPreviousWindow"));

    // Each run starts from all data: a box, a second box inside it, back.
    double zoomMs = 1e300, previousMs = 1e300;
    for (int run = 0; run < kViewerRuns; ++run) {
        form.zoomAll();
        zoomMs = std::min(zoomMs, bestOf(1, [&] { dragBox(form, 0.25); }));
        dragBox(form, 0.3);
        previousMs = std::min(previousMs, bestOf(1, [&] { previous->trigger(); }));
    }
    form.zoomAll();
    pageByDay(form);
    auto* next = form.findChild<QPushButton*>(QStringLiteral("cmdNext"));
    const double pageMs = bestOf(kViewerRuns, [&] { next->click(); });

    out << "\nViewer window: " << QFileInfo(path).fileName() << ", "
        << form.graphData().pointCount() << " rows, " << form.graphData().setCount()
        << " data sets, " << form.width() << "x" << form.height() << "\n";
    const auto line = [](const char* what, double ms) {
        out << "  " << what << QString::number(ms, 'f', 1) << " ms"
            << (ms < kRedrawTargetMs ? "  (target < 30 ms met)" : "  (target < 30 ms MISSED)")
            << "\n";
    };
    line("zoom box         ", zoomMs);
    line("previous window  ", previousMs);
    line("page step (day)  ", pageMs);
    out.flush();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    const QStringList arguments = app.arguments();
    const QDir folder = KeptFolder(arguments, QDir(temporary.path()));

    out << "Writing the data files in " << folder.path() << " ...\n";
    out.flush();
    const QString statistical = writeStatistical(folder);
    const QString leq = writeLeq(folder);

    measure(QStringLiteral("Statistical file"), statistical, kStatisticalSkip,
            QStringLiteral("%H:%M"), folder);
    measure(QStringLiteral("Short-term Leq file"), leq, kLeqSkip, QStringLiteral("%H:%M:%S"),
            folder);
    measureViewer(folder);
    out << "\n(best of " << kReadRuns << " reads and " << kDrawRuns
        << " redraws; gnuplot best of 3 runs, including its start-up; pandas one run; viewer "
           "steps best of "
        << kViewerRuns << ")\n";
    out.flush();
    return 0;
}
