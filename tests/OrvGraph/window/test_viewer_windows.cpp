// The viewer's windows and controls: every menu item, caption and control name;
// the items of later work present but inert; the header window's layout; the
// help window at its two contexts over real pages; the progress window's bar
// and its use while a file is read and drawn.

#include "ModalAnswerer.h"
#include "OrvGraph.h"
#include "ViewerFixture.h"
#include "frmGraph.h"
#include "frmHeader.h"
#include "frmHelp.h"
#include "frmProgress.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTimer>

using namespace ViewerFixture;

namespace {

void openWith(OrvGraph& graph, const QString& path) {
    graph.form()->setOpenFileSource([path](QWidget*, const QString&) { return path; });
    trigger(graph.form(), "itmReadFile");
}

// Records the caption and message of the progress window each time it shows.
class ShowRecorder : public QObject {
public:
    QStringList shown;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            shown << window->windowTitle() + " | " + window->findChild<QLabel*>("lblDone")->text();
        }
        return false;
    }
};

int darkPixels(const QImage& image, const QRect& rect) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 100)
                ++count;
    return count;
}

} // namespace

class ViewerWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init();

    // The window's shell.
    void menuItems_data();
    void menuItems();
    void menuOrderAndSeparator();
    void controlsCarryTheirNames();
    void fileItemsWorkWithAFile();

    // Header window.
    void headerWindowListsTheEntries();
    void headerWindowFollowsTheOpenFile();

    // Help.
    void helpOpensAtItsContexts();
    void helpPagesAreComplete();

    // Progress window.
    void progressBarFillsItsShare();
    void progressShowsWhileReadingAndDrawing();

private:
    SampleFiles m_files;
};

void ViewerWindowsTest::init() {
    clearSettings();
}

void ViewerWindowsTest::menuItems_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("itmReadFile") << "itmReadFile"
                                 << "&Open File...";
    QTest::newRow("itmCloseFile") << "itmCloseFile"
                                  << "&Close File";
    QTest::newRow("itmViewData") << "itmViewData"
                                 << "&View Data";
    QTest::newRow("itmViewHeader") << "itmViewHeader"
                                   << "View &Header";
    QTest::newRow("itmViewIndicators") << "itmViewIndicators"
                                       << "Noise &Indicators...";
    QTest::newRow("itmPrintGraph") << "itmPrintGraph"
                                   << "&Print Graph...";
    QTest::newRow("itmExit") << "itmExit"
                             << "E&xit Orv Data Viewer";
    QTest::newRow("itmSelectData") << "itmSelectData"
                                   << "Select &Data Sets...";
    QTest::newRow("itmEditXAxis") << "itmEditXAxis"
                                  << "Edit &X Axis...";
    QTest::newRow("itmEditYAxis") << "itmEditYAxis"
                                  << "Edit &Y Axis...";
    QTest::newRow("itmZoomAll") << "itmZoomAll"
                                << "Zoom &All";
    QTest::newRow("itmZoomPreviousWindow") << "itmZoomPreviousWindow"
                                           << "Previous &Window";
    QTest::newRow("itmHelpContents") << "itmHelpContents"
                                     << "&Contents";
    QTest::newRow("itmHelpSearch") << "itmHelpSearch"
                                   << "&Search";
}

void ViewerWindowsTest::menuItems() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    OrvGraph graph;
    const QList<QAction*> found = graph.form()->findChildren<QAction*>(name);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first()->text(), caption);
}

void ViewerWindowsTest::menuOrderAndSeparator() {
    OrvGraph graph;
    QStringList menus;
    for (QAction* action : graph.form()->menuBar()->actions())
        menus << action->menu()->objectName() + "=" + action->text();
    QCOMPARE(menus, QStringList({"mnuFile=&File", "mnuGraph=&Graph", "mnuZoom=&Zoom",
                                 "mnuView=&View", "mnuHelp=&Help"}));
    QStringList file;
    for (QAction* action : graph.form()->findChild<QMenu*>("mnuFile")->actions())
        file << action->objectName() + (action->isSeparator() ? "(separator)" : "");
    QCOMPARE(file, QStringList({"itmReadFile", "itmCloseFile", "itmViewData", "itmViewHeader",
                                "itmPrintGraph", "itmBlank(separator)", "itmExit"}));
}

void ViewerWindowsTest::controlsCarryTheirNames() {
    OrvGraph graph;
    frmGraph* form = graph.form();
    for (const char* name : {"cmdPrevious", "cmdNext", "Command1"})
        QVERIFY2(form->findChild<QPushButton*>(name), name);
    for (const char* name : {"lblFileName", "lblCursor", "Label1"})
        QVERIFY2(form->findChild<QLabel*>(name), name);
    auto* box = form->findChild<QTimer*>("tmrBox");
    QVERIFY(box);
    QCOMPARE(box->interval(), 100);
    QVERIFY(!box->isActive());
    QCOMPARE(form->objectName(), QStringLiteral("frmGraph"));
    QCOMPARE(form->progressWindow()->objectName(), QStringLiteral("frmProgress"));
    QCOMPARE(form->progressWindow()->findChild<QPushButton*>("cmdOK")->text(),
             QStringLiteral("O.K."));
    QVERIFY(form->progressWindow()->findChild<QWidget*>("pbxDone"));
    QCOMPARE(form->headerWindow()->windowTitle(), QStringLiteral("Header For This Data File."));
}

void ViewerWindowsTest::fileItemsWorkWithAFile() {
    // The table, printing and the copy are there with a file, and View Data
    // shows the file's table.
    OrvGraph graph;
    frmGraph* form = graph.form();
    for (const char* name : {"itmViewData", "itmPrintGraph"})
        QVERIFY2(!form->findChild<QAction*>(name)->isEnabled(), name);
    openWith(graph, m_files.leq);
    for (const char* name : {"itmViewData", "itmPrintGraph"})
        QVERIFY2(form->findChild<QAction*>(name)->isEnabled(), name);
    QVERIFY(!form->findChild<QPushButton*>("Command1")->isHidden());
    form->findChild<QAction*>("itmViewData")->trigger();
    auto* table = form->findChild<QWidget*>("frmData");
    QVERIFY(table && table->isVisible());
}

void ViewerWindowsTest::headerWindowListsTheEntries() {
    OrvGraph graph;
    openWith(graph, m_files.statistical);
    EventLog log;
    log.attach(&graph);
    trigger(graph.form(), "itmViewHeader");
    QVERIFY(log.take().isEmpty());
    frmHeader* header = graph.form()->headerWindow();
    QVERIFY(header->isVisible());
    HeaderSheet* sheet = header->sheet();
    const QList<HeaderEntry>& entries = graph.form()->graphData().headers;
    QCOMPARE(sheet->entries().size(), 18);
    QCOMPARE(sheet->entries()[0].name, QStringLiteral("Logger Serial Number"));

    const QFontMetrics metrics = sheet->fontMetrics();
    const int h = metrics.boundingRect("XX").height();
    QCOMPARE(sheet->height(), 18 * h + 16); // + 240 twips
    int widest = 0;
    for (const HeaderEntry& entry : entries)
        widest = qMax(widest, metrics.horizontalAdvance(entry.value.trimmed()) +
                                  metrics.horizontalAdvance(entry.name));
    QCOMPARE(sheet->width(), widest + 53); // + 800 twips
    QCOMPARE(header->size(), sheet->size());
    // Names flush left at 120 twips, values flush right 100 twips from the edge.
    const QImage image = sheet->grab().toImage();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QCOMPARE(sheet->namePosition(i), QPoint(8, int(i) * h + 8));
        const int valueRight =
            sheet->valuePosition(i).x() + metrics.horizontalAdvance(entries[i].value.trimmed());
        QCOMPARE(valueRight, sheet->width() - 7);
        const QRect nameBox(8, int(i) * h + 8, 20, h);
        QVERIFY2(darkPixels(image, nameBox) > 0, qPrintable(entries[i].name));
        const QRect valueBox(valueRight - 8, int(i) * h + 8, 8, h);
        QVERIFY2(darkPixels(image, valueBox) > 0, qPrintable(entries[i].value));
    }
    QCOMPARE(darkPixels(image, QRect(0, 0, 7, sheet->height())), 0);
}

void ViewerWindowsTest::headerWindowFollowsTheOpenFile() {
    OrvGraph graph;
    openWith(graph, m_files.statistical);
    trigger(graph.form(), "itmViewHeader");
    frmHeader* header = graph.form()->headerWindow();
    QVERIFY(header->isVisible());
    // Another file: the open window shows its header; closing the file hides it.
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("two_Leq0.csv");
        using namespace DataFileWriter;
        QByteArray file =
            kBanner + "\r\n" + line({text("Site"), text({}), text({}), text({}), text("North")}) +
            headingLine(leqColumns()) + line({text("31/12/2003"), text("14:05:00"), "50", "0"});
        writeFile(path, file);
        openWith(graph, path);
    }
    QVERIFY(header->isVisible());
    QCOMPARE(header->sheet()->entries().size(), 1);
    QCOMPARE(header->sheet()->entries()[0].value, QStringLiteral("North"));
    ModalAnswerer answerer(QMessageBox::Yes);
    trigger(graph.form(), "itmCloseFile");
    QVERIFY(!header->isVisible());
    // Closing the viewer unloads it too.
    openWith(graph, m_files.statistical);
    trigger(graph.form(), "itmViewHeader");
    graph.form()->close();
    QVERIFY(!header->isVisible());
}

void ViewerWindowsTest::helpOpensAtItsContexts() {
    OrvGraph graph;
    EventLog log;
    log.attach(&graph);
    trigger(graph.form(), "itmHelpContents");
    frmHelp* help = graph.form()->helpWindow();
    QVERIFY(help->isVisible());
    QCOMPARE(help->currentUrl(), QUrl("qrc:/OrvGraph/help/contents.html#contents"));
    auto* browser = help->findChild<QTextBrowser*>("txtHelp");
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Opening a data file")));
    trigger(graph.form(), "itmHelpSearch");
    QCOMPARE(help->currentUrl(), QUrl("qrc:/OrvGraph/help/index.html#index"));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Index")));
    QCOMPARE(frmHelp::urlForContext(99), frmHelp::urlForContext(frmHelp::kContentsContext));
    QVERIFY(log.take().isEmpty());
    graph.form()->close();
    QVERIFY(!help->isVisible());
}

void ViewerWindowsTest::helpPagesAreComplete() {
    // Every link of every page leads to a page that exists and, where it names
    // one, to an anchor on it.
    const QStringList pages = {"contents.html", "index.html"};
    QStringList visited;
    QStringList queue = pages;
    while (!queue.isEmpty()) {
        const QString page = queue.takeFirst();
        if (visited.contains(page))
            continue;
        visited << page;
        QFile file(":/OrvGraph/help/" + page);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(page));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY2(html.contains("<title>"), qPrintable(page));
        static const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(#([^\"]*))?\""));
        for (auto match = link.globalMatch(html); match.hasNext();) {
            const auto m = match.next();
            const QString target = m.captured(1).isEmpty() ? page : m.captured(1);
            QVERIFY2(QFile::exists(":/OrvGraph/help/" + target),
                     qPrintable(page + " -> " + target));
            if (!m.captured(3).isEmpty()) {
                QFile linked(":/OrvGraph/help/" + target);
                QVERIFY(linked.open(QIODevice::ReadOnly));
                const QString anchor = m.captured(3);
                QVERIFY2(QString::fromUtf8(linked.readAll()).contains("id=\"" + anchor + "\""),
                         qPrintable(page + " -> " + target + "#" + anchor));
            }
            queue << target;
        }
    }
    QVERIFY(visited.size() >= 3);
}

void ViewerWindowsTest::progressBarFillsItsShare() {
    frmProgress progress;
    progress.start("Reading file data.", "Reading file data.  Please wait.");
    QVERIFY(progress.isVisible());
    QCOMPARE(progress.windowTitle(), QStringLiteral("Reading file data."));
    QCOMPARE(progress.findChild<QLabel*>("lblDone")->text(),
             QStringLiteral("Reading file data.  Please wait."));
    QWidget* bar = progress.findChild<QWidget*>("pbxDone");
    progress.SetValue(40);
    QCOMPARE(progress.value(), 40);
    QImage image = bar->grab().toImage();
    const int edge = 40 * bar->width() / 100;
    const int middle = bar->height() / 2;
    QCOMPARE(image.pixel(0, middle), qRgb(0, 0, 128));
    QCOMPARE(image.pixel(edge - 1, middle), qRgb(0, 0, 128));
    QCOMPARE(image.pixel(edge, middle), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(bar->width() - 1, middle), qRgb(255, 255, 255));
    progress.SetValue(100);
    image = bar->grab().toImage();
    QCOMPARE(image.pixel(bar->width() - 1, middle), qRgb(0, 0, 128));
    // A new use starts empty.
    progress.start("Drawing Graph", "Drawing graph.  Please Wait");
    QCOMPARE(progress.value(), 0);
    QCOMPARE(bar->grab().toImage().pixel(0, middle), qRgb(255, 255, 255));
    progress.findChild<QPushButton*>("cmdOK")->click();
    QVERIFY(!progress.isVisible());
}

void ViewerWindowsTest::progressShowsWhileReadingAndDrawing() {
    OrvGraph graph;
    ShowRecorder recorder;
    graph.form()->progressWindow()->installEventFilter(&recorder);
    openWith(graph, m_files.leq);
    QCOMPARE(recorder.shown, QStringList({"Reading file data. | Reading file data.  Please wait.",
                                          "Drawing Graph | Drawing graph.  Please Wait"}));
    QVERIFY(!graph.form()->progressWindow()->isVisible());
    QCOMPARE(graph.form()->progressWindow()->value(),
             int(std::nearbyint(1.0 * 100 / 2))); // the last set's share: set 1 of 2
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(ViewerWindowsTest)
#include "test_viewer_windows.moc"
