// The printed graph read back from its PDF with poppler's tools: the set names
// and axis labels as real text, a landscape page, the frame, the lines and the
// legend where the page layout puts them. A cancelled print dialog prints
// nothing; a file that cannot be written is reported. The clipboard copy of the
// viewer's picture.

#include "Axes.h"
#include "DateSerial.h"
#include "GraphOutput.h"
#include "ViewerFixture.h"
#include "frmGraph.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QImage>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QLocale kLocale(QStringLiteral("en_GB"));
// pdftoppm renders at the page's own resolution: one device unit, one pixel.
constexpr int kResolution = 300;
const QRgb kWhite = qRgb(255, 255, 255);

// Three flat sets over one day, each at its own level and colour.
GraphData flatSets() {
    GraphData data;
    const double start = DateSerial::fromDate(QDate(2003, 1, 6));
    for (int i = 0; i < 100; ++i)
        data.times.push_back(start + i / 99.0);
    const QList<std::pair<QString, float>> sets = {{"Leq", 40}, {"L10", 55}, {"L90", 70}};
    const QList<QRgb> colours = {qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 255)};
    for (qsizetype i = 0; i < sets.size(); ++i) {
        DataSet set;
        set.name = sets[i].first;
        set.values.assign(data.times.size(), sets[i].second);
        set.colour = colours[i];
        data.sets << set;
    }
    return data;
}

PlotArea screenView(const GraphData& data) {
    QImage screen(800, 500, QImage::Format_RGB32);
    PlotArea view = initPlotArea(QSizeF(screen.size()), QFontMetricsF(QFont(), &screen), 13, 1.0);
    viewAllData(view.timeAxis, data);
    return view;
}

bool accept(QPrinter&, QWidget*) {
    return true;
}

// The real dialog, closed with Cancel as soon as it shows.
bool cancelRealDialog(QPrinter& printer, QWidget* parent) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&poll] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            dialog->reject();
        }
    });
    poll.start(10);
    return showPrintDialog(printer, parent);
}

QString run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void printOutcome_data();
    void printOutcome();
    void pdfHoldsRealText();
    void pdfDrawsWhereLayoutPuts_data();
    void pdfDrawsWhereLayoutPuts();
    void clipboardHoldsTheGraphPicture();

private:
    QTemporaryDir m_folder;
    GraphData m_data = flatSets();
    PrintOutcome m_printed;
    QString m_pdf;
    QPoint m_pageOrigin; // of the printable area on the rendered page
    QImage m_page;
};

void PrintingTest::initTestCase() {
    m_pdf = m_folder.filePath("graph.pdf");
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_pdf);
    printer.setPageOrientation(QPageLayout::Portrait);
    m_printed = PrintGraph(nullptr, printer, m_data, screenView(m_data), QFont(), kLocale, accept);
    QCOMPARE(m_printed.status, PrintOutcome::Status::Printed);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
    m_pageOrigin = printer.pageLayout().paintRectPixels(kResolution).topLeft();

    if (QStandardPaths::findExecutable("pdftoppm").isEmpty())
        return;
    const QString stem = m_folder.filePath("page");
    QProcess::execute("pdftoppm", {"-r", QString::number(kResolution), "-aa", "no", "-aaVector",
                                   "no", "-png", "-singlefile", m_pdf, stem});
    m_page = QImage(stem + ".png").convertToFormat(QImage::Format_RGB32);
}

void PrintingTest::printOutcome_data() {
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("file");
    QTest::addColumn<PrintOutcome::Status>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("printed") << false << "out.pdf" << PrintOutcome::Status::Printed << "";
    QTest::newRow("dialog cancelled") << true << "out.pdf" << PrintOutcome::Status::Cancelled << "";
    QTest::newRow("file cannot be written")
        << false << "missing/out.pdf" << PrintOutcome::Status::Failed
        << "Print graph detects an error!\rCode 75 The file %1 cannot be written.";
}

void PrintingTest::printOutcome() {
    QFETCH(bool, cancel);
    QFETCH(QString, file);
    QFETCH(PrintOutcome::Status, status);
    QFETCH(QString, message);
    QTemporaryDir folder;
    const QString path = folder.filePath(file);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    if (status == PrintOutcome::Status::Failed)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("."));
    const PrintOutcome outcome = PrintGraph(nullptr, printer, m_data, screenView(m_data), QFont(),
                                            kLocale, cancel ? cancelRealDialog : accept);
    QCOMPARE(outcome.status, status);
    QCOMPARE(outcome.message, message.isEmpty() ? QString() : message.arg(path));
    QCOMPARE(QFileInfo(path).size() > 0, status == PrintOutcome::Status::Printed);
}

void PrintingTest::pdfHoldsRealText() {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString text = run("pdftotext", {m_pdf, "-"});
    for (const DataSet& set : m_data.sets)
        QVERIFY2(text.contains(set.name), qPrintable(set.name));
    const LevelAxis& level = m_printed.page.area.levelAxis;
    for (double v = firstLevelTick(level, level.majorStep); v <= level.max + 1e-6;
         v += level.majorStep)
        QVERIFY2(text.contains(kLocale.toString(v, 'f', 1)), qPrintable(QString::number(v)));
    QVERIFY(text.contains("06/01/2003"));
}

void PrintingTest::pdfDrawsWhereLayoutPuts_data() {
    // What lies at a point of the page, in the printed plot's own terms.
    QTest::addColumn<QString>("what");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("L10 line mid-plot") << "line" << qRgb(0, 128, 0);
    QTest::newRow("paper between two lines") << "between" << kWhite;
    QTest::newRow("frame's left edge") << "frame" << qRgb(0, 0, 0);
    QTest::newRow("legend's left edge") << "legend" << qRgb(0, 0, 0);
    QTest::newRow("no line beyond the narrowed plot") << "beyond" << kWhite;
}

void PrintingTest::pdfDrawsWhereLayoutPuts() {
    if (m_page.isNull())
        QSKIP("pdftoppm (poppler-utils) is not installed");
    QFETCH(QString, what);
    QFETCH(QRgb, colour);
    QVERIFY(m_page.width() > m_page.height()); // landscape
    const PlotArea& area = m_printed.page.area;
    const QRect legend = m_printed.page.legend;
    const int middle = int(area.left + area.width / 2);
    QPoint at;
    if (what == "line")
        at = {middle, int(std::lround(levelToY(area, 55)))};
    else if (what == "between")
        at = {middle, int(std::lround(levelToY(area, 62.5)))};
    else if (what == "frame")
        at = {int(std::lround(area.left)), int(area.top + area.height / 2)};
    else if (what == "legend")
        at = {legend.left(), legend.center().y()};
    else
        at = {legend.center().x(), int(std::lround(levelToY(area, 55)))};
    QVERIFY(legend.bottom() < levelToY(area, 55));
    // The line may fall on either side of a pixel edge.
    bool found = false;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            found |= (m_page.pixel(m_pageOrigin + at + QPoint(dx, dy)) | 0xFF000000u) == colour;
    QVERIFY2(found, qPrintable(QStringLiteral("%1 at %2,%3").arg(what).arg(at.x()).arg(at.y())));
}

void PrintingTest::clipboardHoldsTheGraphPicture() {
    ViewerFixture::SampleFiles files;
    frmGraph window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.setOpenFileSource([&](QWidget*, const QString&) { return files.statistical; });
    window.openFile();
    QVERIFY(window.graphData().hasData());
    CopyGraphToClipboard(window.picture());
    const QImage copied = QApplication::clipboard()->image();
    const QImage picture = window.picture().toImage();
    QCOMPARE(copied.size(), picture.size());
    QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
             picture.convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(PrintingTest)
#include "test_printing.moc"
