// The graph object and its viewer as the host meets them: creating it opens the
// window; open file (valid, cancelled, wrong type, no data, failing), close file
// (Yes and No), a printing failure's message (not printing itself, nor its
// dialog) and closing the window raise GraphBusy and GraphFree in pairs and
// GraphEnd last; Display keeps the
// open file; releasing the object after GraphEnd, even at once inside the
// handler, touches nothing destroyed. Modal questions are answered as an
// operator would.

#include "DataFileReader.h"
#include "GraphCanvas.h"
#include "Messages.h"
#include "ModalAnswerer.h"
#include "OrvGraph.h"
#include "ViewerFixture.h"
#include "frmGraph.h"
#include "frmProgress.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPrinter>
#include <QRegularExpression>
#include <QSettings>

using namespace ViewerFixture;

namespace {

const QStringList kPair = {"Busy", "Free"};
const QStringList kNestedPair = {"Busy", "Busy", "Free", "Free"};

QImage pictureOf(OrvGraph& graph) {
    return graph.form()->picture().toImage();
}

bool menusEnabled(frmGraph* form) {
    const bool graph = form->findChild<QMenu*>("mnuGraph")->menuAction()->isEnabled();
    const bool zoom = form->findChild<QMenu*>("mnuZoom")->menuAction()->isEnabled();
    bool items = true;
    // Printing and the data table stay off until they are built.
    for (const char* name : {"itmCloseFile", "itmViewHeader"})
        items = items && form->findChild<QAction*>(name)->isEnabled();
    // They always change together.
    if (graph != zoom || graph != items)
        qWarning("menus out of step");
    return graph && zoom && items;
}

bool menusDisabled(frmGraph* form) {
    bool any = form->findChild<QMenu*>("mnuGraph")->menuAction()->isEnabled() ||
               form->findChild<QMenu*>("mnuZoom")->menuAction()->isEnabled();
    for (const char* name : {"itmCloseFile", "itmPrintGraph", "itmViewData", "itmViewHeader"})
        any = any || form->findChild<QAction*>(name)->isEnabled();
    return !any;
}

void openWith(OrvGraph& graph, const QString& path) {
    graph.form()->setOpenFileSource([path](QWidget*, const QString&) { return path; });
    trigger(graph.form(), "itmReadFile");
}

} // namespace

class ViewerEventsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void creationOpensTheWindow();

    // Open file.
    void openingAFileDrawsIt();
    void cancellingKeepsTheFileAndView();
    void wrongFileTypeGivesBothMessages();
    void fileWithoutDataGivesTheNoDataMessage();
    void leftOutRowsAreSaidAfterTheGraph();
    void failingReadKeepsThePreviousFile();
    void openDialogStartsInTheRememberedFolder();
    void realOpenDialog();

    // Close file.
    void closeFileYesClearsTheView();
    void closeFileNoKeepsEverything();

    // Printing.
    void printingIsBusyOnlyForItsError_data();
    void printingIsBusyOnlyForItsError();

    // Display, closing and release.
    void displayKeepsTheOpenFile();
    void closingTheWindowEndsTheGraph();
    void exitItemClosesTheWindow();
    void releasingAtOnceInsideGraphEndIsSafe();
    void releasingLaterDeletesTheWindow();
    void destroyingAnOpenViewerClosesItQuietly();

private:
    SampleFiles m_files;
};

void ViewerEventsTest::initTestCase() {
    // Qt's own dialog, which the test can fill in like an operator.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

void ViewerEventsTest::init() {
    clearSettings();
}

void ViewerEventsTest::creationOpensTheWindow() {
    OrvGraph graph;
    frmGraph* form = graph.form();
    QVERIFY(form);
    QVERIFY(form->isVisible());
    QCOMPARE(form->windowTitle(), QStringLiteral("Orv - Data Viewing Utility"));
    QVERIFY(menusDisabled(form));
    QVERIFY(!form->findChild<QLabel*>("lblFileName")->isVisible());
    QVERIFY(!form->findChild<QLabel*>("lblCursor")->isVisible());
    QVERIFY(!form->findChild<QWidget*>("cmdNext")->isVisible());
    QVERIFY(!form->findChild<QWidget*>("cmdPrevious")->isVisible());
    QVERIFY(!form->graphData().hasData());
    QCOMPARE(qobject_cast<OrvGraphInterface*>(&graph), static_cast<OrvGraphInterface*>(&graph));
}

void ViewerEventsTest::openingAFileDrawsIt() {
    OrvGraph graph;
    EventLog log;
    log.attach(&graph);
    openWith(graph, m_files.statistical);
    QCOMPARE(log.take(), kPair);
    frmGraph* form = graph.form();
    QCOMPARE(form->graphData().setCount(), 14);
    QCOMPARE(form->graphData().pointCount(), 192);
    QCOMPARE(form->graphData().sets[1].colour, qRgb(0, 0, 128));
    auto* fileName = form->findChild<QLabel*>("lblFileName");
    QVERIFY(fileName->isVisible());
    QCOMPARE(fileName->text(), QStringLiteral("survey_Sta.csv"));
    QVERIFY(menusEnabled(form));
    QVERIFY(!form->findChild<QAction*>("itmZoomPreviousWindow")->isEnabled());
    QCOMPARE(form->plotArea().timeAxis.mode, 0);
    QCOMPARE(form->plotArea().timeAxis.first, 0);
    QCOMPARE(form->plotArea().timeAxis.last, 191);
    // The levels are drawn: Lmax's colour lies inside the plot.
    const QImage picture = pictureOf(graph);
    const QRect plot = form->plotArea().plotRect().toRect();
    int lmax = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y)
        for (int x = plot.left(); x <= plot.right(); ++x)
            lmax += picture.pixel(x, y) == qRgb(0, 0, 128);
    QVERIFY(lmax > 100);
    // The folder is remembered.
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Orv", "Orv");
    QCOMPARE(settings.value("Viewer/Path").toString(), m_files.folder.path());
}

void ViewerEventsTest::cancellingKeepsTheFileAndView() {
    OrvGraph graph;
    openWith(graph, m_files.statistical);
    const QImage before = pictureOf(graph);
    EventLog log;
    log.attach(&graph);
    openWith(graph, QString());
    QCOMPARE(log.take(), kPair);
    QCOMPARE(graph.form()->graphData().pointCount(), 192);
    QCOMPARE(pictureOf(graph), before);
    QVERIFY(menusEnabled(graph.form()));
}

void ViewerEventsTest::wrongFileTypeGivesBothMessages() {
    OrvGraph graph;
    openWith(graph, m_files.statistical);
    EventLog log;
    log.attach(&graph);
    ModalAnswerer answerer(QMessageBox::Ok);
    openWith(graph, m_files.badType);
    QCOMPARE(answerer.texts(), QStringList({ReaderMessages::kBadFileType, Messages::kNoData}));
    QCOMPARE(answerer.lastTitle(), QStringLiteral("Orv"));
    QCOMPARE(answerer.lastIcon(), QMessageBox::Warning);
    QCOMPARE(log.take(), kNestedPair);
    frmGraph* form = graph.form();
    QVERIFY(!form->graphData().hasData());
    QVERIFY(menusDisabled(form));
    QVERIFY(!form->findChild<QLabel*>("lblFileName")->isVisible());
    // The view is cleared: the picture holds the background only.
    const QImage picture = pictureOf(graph);
    const QRgb background = form->findChild<GraphCanvas*>()->background().rgb();
    QCOMPARE(picture.pixel(picture.width() / 2, picture.height() / 2), background);
}

void ViewerEventsTest::fileWithoutDataGivesTheNoDataMessage() {
    OrvGraph graph;
    EventLog log;
    log.attach(&graph);
    ModalAnswerer answerer(QMessageBox::Ok);
    openWith(graph, m_files.headingsOnly);
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.lastText(), QStringLiteral("No data was read from the file.\r"
                                                 "The file must be a valid Orv data file\r"
                                                 "with at least one set of data."));
    QCOMPARE(answerer.lastTitle(), QStringLiteral("Orv"));
    QCOMPARE(log.take(), kNestedPair);
    QCOMPARE(graph.form()->graphData().setCount(), 14);
    QVERIFY(menusDisabled(graph.form()));
}

void ViewerEventsTest::leftOutRowsAreSaidAfterTheGraph() {
    using namespace DataFileWriter;
    const QString path = m_files.folder.filePath(QStringLiteral("damaged_Leq0.csv"));
    const QByteArray damaged = line({text({}), text("255:255:255"), "45", "0"});
    QVERIFY(writeFile(path, headerBlock({}) + headingLine(leqColumns()) + damaged +
                                line({text("31/12/2003"), text("14:05:00"), "45", "0"}) + damaged));
    OrvGraph graph;
    EventLog log;
    log.attach(&graph);
    ModalAnswerer answerer(QMessageBox::Ok);
    openWith(graph, path);
    QCOMPARE(answerer.texts(),
             QStringList({"2 rows were not read: their date fields hold no valid date."}));
    QCOMPARE(answerer.lastIcon(), QMessageBox::Information);
    QCOMPARE(log.take(), kNestedPair);
    QCOMPARE(graph.form()->graphData().pointCount(), 1);
    QVERIFY(menusEnabled(graph.form()));
}

void ViewerEventsTest::failingReadKeepsThePreviousFile() {
    OrvGraph graph;
    openWith(graph, m_files.leq);
    const QImage before = pictureOf(graph);
    EventLog log;
    log.attach(&graph);
    ModalAnswerer answerer(QMessageBox::Ok);
    openWith(graph, m_files.broken);
    QCOMPARE(answerer.count(), 1);
    QVERIFY2(answerer.lastText().startsWith(QStringLiteral("Read file detects an error!\rCode 9 ")),
             qPrintable(answerer.lastText()));
    QCOMPARE(answerer.lastTitle(), QStringLiteral("Orv"));
    QCOMPARE(answerer.lastIcon(), QMessageBox::Warning);
    QCOMPARE(log.take(), kNestedPair);
    QCOMPARE(graph.form()->graphData().pointCount(), 3600);
    QCOMPARE(pictureOf(graph), before);
    QVERIFY(menusEnabled(graph.form()));
    QVERIFY(!graph.form()->progressWindow()->isVisible());
    QVERIFY(!QApplication::overrideCursor());
}

void ViewerEventsTest::openDialogStartsInTheRememberedFolder() {
    OrvGraph graph;
    QStringList folders;
    graph.form()->setOpenFileSource([&](QWidget*, const QString& folder) {
        folders << folder;
        return folders.size() == 1 ? m_files.leq : QString();
    });
    // Nothing stored, or the old default "C:\": the home folder.
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Orv", "Orv");
        settings.setValue("Viewer/Path", "C:\\");
    }
    trigger(graph.form(), "itmReadFile");
    trigger(graph.form(), "itmReadFile");
    QCOMPARE(folders, QStringList({QDir::homePath(), m_files.folder.path()}));
}

void ViewerEventsTest::realOpenDialog() {
    OrvGraph graph;
    EventLog log;
    log.attach(&graph);
    QString objectName;
    QStringList captions;
    QString folder;
    bool choose = true;
    QTimer operatorHand;
    connect(&operatorHand, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        objectName = dialog->objectName();
        folder = dialog->directory().absolutePath();
        captions.clear();
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        for (int i = 0; types && i < types->count(); ++i)
            captions << types->itemText(i);
        if (choose && !dialog->property("typed").toBool()) {
            // Typed into the file name box, as an operator would.
            dialog->setProperty("typed", true);
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(m_files.leq);
            QMetaObject::invokeMethod(dialog, "accept");
        } else {
            // Cancelled, or the dialog refused the name: the test fails, not hangs.
            dialog->reject();
        }
    });
    operatorHand.start(20);

    trigger(graph.form(), "itmReadFile");
    QCOMPARE(objectName, QStringLiteral("dlgOpenFile"));
    QCOMPARE(captions, QStringList({"All Orv Data Files", "Statistical Data Files (*_Sta.csv)",
                                    "Short Term Leq Data Files (*_Leq.csv)", "All Files (*.*)"}));
    QCOMPARE(folder, QDir::homePath());
    QCOMPARE(log.take(), kPair);
    QCOMPARE(graph.form()->graphData().pointCount(), 3600);

    // Cancelling: the same pair, and the file stays.
    choose = false;
    trigger(graph.form(), "itmReadFile");
    QCOMPARE(folder, m_files.folder.path());
    QCOMPARE(log.take(), kPair);
    QCOMPARE(graph.form()->graphData().pointCount(), 3600);
}

void ViewerEventsTest::closeFileYesClearsTheView() {
    OrvGraph graph;
    openWith(graph, m_files.statistical);
    EventLog log;
    log.attach(&graph);
    ModalAnswerer answerer(QMessageBox::Yes);
    trigger(graph.form(), "itmCloseFile");
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.lastTitle(), QStringLiteral("Please Confirm Action..."));
    QCOMPARE(answerer.lastText(), QStringLiteral("Are you sure you want to close the file?"));
    QCOMPARE(answerer.lastIcon(), QMessageBox::Warning);
    QCOMPARE(log.take(), kPair);
    frmGraph* form = graph.form();
    QVERIFY(!form->graphData().hasData());
    QCOMPARE(form->graphData().headerCount(), 0);
    QVERIFY(menusDisabled(form));
    QVERIFY(!form->findChild<QLabel*>("lblFileName")->isVisible());
    QVERIFY(!form->findChild<QLabel*>("lblCursor")->isVisible());
    QVERIFY(!form->findChild<QWidget*>("cmdNext")->isVisible());
    const QImage picture = pictureOf(graph);
    const QRgb background = form->findChild<GraphCanvas*>()->background().rgb();
    for (int y = 0; y < picture.height(); y += 7)
        for (int x = 0; x < picture.width(); x += 7)
            QCOMPARE(picture.pixel(x, y), background);
}

void ViewerEventsTest::closeFileNoKeepsEverything() {
    OrvGraph graph;
    openWith(graph, m_files.statistical);
    const QImage before = pictureOf(graph);
    EventLog log;
    log.attach(&graph);
    ModalAnswerer answerer(QMessageBox::No);
    trigger(graph.form(), "itmCloseFile");
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(log.take(), kPair);
    QCOMPARE(graph.form()->graphData().pointCount(), 192);
    QCOMPARE(pictureOf(graph), before);
    QVERIFY(menusEnabled(graph.form()));
    QVERIFY(graph.form()->findChild<QLabel*>("lblFileName")->isVisible());
}

void ViewerEventsTest::printingIsBusyOnlyForItsError_data() {
    QTest::addColumn<bool>("chosen"); // the print dialog's answer
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("cancelled") << false << "out.pdf" << QStringList();
    QTest::newRow("printed") << true << "out.pdf" << QStringList();
    // The failure's message is a busy period, as the viewer's messages are.
    QTest::newRow("file cannot be written") << true << "missing/out.pdf" << kPair;
}

void ViewerEventsTest::printingIsBusyOnlyForItsError() {
    QFETCH(bool, chosen);
    QFETCH(QString, file);
    QFETCH(QStringList, events);
    OrvGraph graph;
    openWith(graph, m_files.statistical);
    EventLog log;
    log.attach(&graph);
    QTemporaryDir folder;
    const QString path = folder.filePath(file);
    QStringList duringDialog = {"not shown"};
    graph.form()->setPrintDialogSource([&](QPrinter& printer, QWidget*) {
        duringDialog = log.events;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return chosen;
    });
    ModalAnswerer answerer(QMessageBox::Ok);
    const bool fails = file.contains(u'/');
    if (fails)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("."));
    trigger(graph.form(), "itmPrintGraph");
    QCOMPARE(duringDialog, QStringList());
    QCOMPARE(log.take(), events);
    QCOMPARE(answerer.count(), fails ? 1 : 0);
    QCOMPARE(QFileInfo::exists(path), chosen && !fails);
}

void ViewerEventsTest::displayKeepsTheOpenFile() {
    OrvGraph graph;
    openWith(graph, m_files.leq);
    const QImage before = pictureOf(graph);
    EventLog log;
    log.attach(&graph);
    graph.form()->showMinimized();
    graph.Display();
    QVERIFY(graph.form()->isVisible());
    QVERIFY(!graph.form()->isMinimized());
    graph.form()->hide();
    graph.Display();
    QVERIFY(graph.form()->isVisible());
    QCOMPARE(graph.form()->graphData().pointCount(), 3600);
    QCOMPARE(pictureOf(graph), before);
    QVERIFY(log.take().isEmpty());
}

void ViewerEventsTest::closingTheWindowEndsTheGraph() {
    OrvGraph graph;
    EventLog log;
    log.attach(&graph);
    QVERIFY(graph.form()->close());
    QCOMPARE(log.take(), QStringList({"Busy", "Free", "End"}));
    QVERIFY(!graph.form()->isVisible());
}

void ViewerEventsTest::exitItemClosesTheWindow() {
    OrvGraph graph;
    EventLog log;
    log.attach(&graph);
    trigger(graph.form(), "itmExit");
    QCOMPARE(log.take(), QStringList({"Busy", "Free", "End"}));
    QVERIFY(!graph.form()->isVisible());
}

void ViewerEventsTest::releasingAtOnceInsideGraphEndIsSafe() {
    // A host that deletes the object in its GraphEnd handler, not later.
    auto* graph = new OrvGraph;
    QPointer<frmGraph> form = graph->form();
    openWith(*graph, m_files.leq);
    QStringList events;
    connect(graph, &OrvGraph::GraphBusy, [&] { events << "Busy"; });
    connect(graph, &OrvGraph::GraphFree, [&] { events << "Free"; });
    connect(graph, &OrvGraph::GraphEnd, [&] {
        events << "End";
        delete graph;
    });
    form->close();
    QCOMPARE(events, QStringList({"Busy", "Free", "End"}));
    QVERIFY(form); // the window goes once control is back in the event loop
    QVERIFY(!form->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!form);
}

void ViewerEventsTest::releasingLaterDeletesTheWindow() {
    auto* graph = new OrvGraph;
    QPointer<OrvGraph> object = graph;
    QPointer<frmGraph> form = graph->form();
    connect(graph, &OrvGraph::GraphEnd, graph, &QObject::deleteLater);
    trigger(form, "itmExit");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!object);
    QVERIFY(!form);
}

void ViewerEventsTest::destroyingAnOpenViewerClosesItQuietly() {
    auto* graph = new OrvGraph;
    QPointer<frmGraph> form = graph->form();
    form->move(120, 90);
    EventLog log;
    log.attach(graph);
    delete graph;
    QVERIFY(log.take().isEmpty());
    QVERIFY(!form || !form->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!form);
    // The window was unloaded the normal way: its placement is kept.
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Orv", "Orv");
    QCOMPARE(settings.value("Viewer/Left").toString(), QStringLiteral("1800"));
    QCOMPARE(settings.value("Viewer/Top").toString(), QStringLiteral("1350"));
}

QTEST_MAIN(ViewerEventsTest)
#include "test_viewer_events.moc"
