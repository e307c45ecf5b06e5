// Zooming with a dragged box, the two-step history, Zoom All and Previous
// Window, paging by day and hour, and the cursor read-out, driven with the
// mouse and keys on a real viewer window; one point and views without points.

#include "DateSerial.h"
#include "DialogDriver.h"
#include "ModalAnswerer.h"
#include "ViewerFixture.h"
#include "frmGraph.h"
#include "frmXAxis.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace ViewerFixture;

namespace {

const QString kTwoSteps =
    QStringLiteral("Only two steps are remembered. Previous view would not be avaliable");

QWidget* canvasOf(frmGraph& form) {
    return form.findChild<QWidget*>(QStringLiteral("pbxGraph"));
}

QAction* item(frmGraph& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

QPushButton* button(frmGraph& form, const char* name) {
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
}

void drag(frmGraph& form, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* canvas = canvasOf(form);
    QTest::mousePress(canvas, button, {}, from);
    QTest::mouseMove(canvas, (from + to) / 2);
    QTest::mouseMove(canvas, to);
    QTest::mouseRelease(canvas, button, {}, to);
}

// A box over the middle of the plot, a quarter of it each way in from its edges.
std::pair<QPoint, QPoint> middleBox(const frmGraph& form, int shrink = 4) {
    const QRectF plot = form.plotArea().plotRect();
    const QPoint a(int(plot.left() + plot.width() / shrink),
                   int(plot.top() + plot.height() / shrink));
    const QPoint b(int(plot.right() - plot.width() / shrink),
                   int(plot.bottom() - plot.height() / shrink));
    return {a, b};
}

// Sets the time axis mode through the X axis dialog.
void chooseMode(frmGraph& form, int mode) {
    whenModal<frmXAxis>([mode](frmXAxis* dialog) {
        dialog->findChild<QRadioButton*>(QStringLiteral("optZoom%1").arg(mode))->setChecked(true);
        dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    item(form, "itmEditXAxis")->trigger();
}

QString writeRows(const QTemporaryDir& folder, const QString& name, const QDateTime& start,
                  int count, int interval) {
    using namespace DataFileWriter;
    const QLocale locale = QLocale::system();
    const QString path = folder.filePath(name);
    const auto rows = statisticalRows(start, count, interval);
    writeFile(path, statisticalFile(locale, typicalHeader(locale, start, rows.back().time, false),
                                    statisticalColumns(), rows));
    return path;
}

} // namespace

class ZoomPagingTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void dragZoomsToTheBox();
    void boxGoesOnRelease();
    void dragWithoutExtentChangesNothing_data();
    void dragWithoutExtentChangesNothing();
    void thirdZoomGivesTheMessageOnce();
    void zoomAllThenPreviousReturnsToTheBox();
    void previousAfterOneBoxShowsAllData();
    void previousRestoresTheBoxedView_data();
    void previousRestoresTheBoxedView();
    void newFileStartsWithAutomaticScales();
    void pagingByDay();
    void pagingByHourWithKeys();
    void cursorReadsTimeAndLevel();
    void copyButtonAndCursorKeepClear_data();
    void copyButtonAndCursorKeepClear();
    void doubleClickOpensItsDialog_data();
    void doubleClickOpensItsDialog();
    void onePointAndEmptyViews_data();
    void onePointAndEmptyViews();
    void resizeAfterAFileWithoutDataClears();
    void closeFileClearsTheMarks();

private:
    void open(const QString& path);

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<frmGraph> m_form;
    // 23:50 on 30 December to 00:10 on 1 January, every 10 minutes.
    QString m_days;
};

void ZoomPagingTest::init() {
    clearSettings();
    m_folder = std::make_unique<QTemporaryDir>();
    m_days = writeRows(*m_folder, QStringLiteral("days_Sta.csv"),
                       QDateTime(QDate(2003, 12, 30), QTime(23, 50), Qt::UTC), 147, 10);
    m_form = std::make_unique<frmGraph>();
    m_form->resize(800, 500);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void ZoomPagingTest::cleanup() {
    m_form.reset();
}

void ZoomPagingTest::open(const QString& path) {
    m_form->setOpenFileSource([path](QWidget*, const QString&) { return path; });
    item(*m_form, "itmReadFile")->trigger();
}

void ZoomPagingTest::dragZoomsToTheBox() {
    open(m_days);
    QVERIFY(!item(*m_form, "itmZoomPreviousWindow")->isEnabled());
    const auto [a, b] = middleBox(*m_form);
    const PlotArea before = m_form->plotArea();
    drag(*m_form, b, a); // dragged up and left: the box is the same
    const TimeAxis& time = m_form->plotArea().timeAxis;
    QCOMPARE(time.mode, 4);
    QCOMPARE(time.start, xToTime(before, a.x()));
    QCOMPARE(time.end, xToTime(before, b.x()));
    const LevelAxis& level = m_form->plotArea().levelAxis;
    QCOMPARE(level.max, float(yToLevel(before, a.y())));
    QCOMPARE(level.min, float(yToLevel(before, b.y())));
    QVERIFY(!level.autoMin && !level.autoMax && level.autoMajor && level.autoMinor);
    QVERIFY(time.first > 0 && time.last < 146 && time.first < time.last);
    QVERIFY(item(*m_form, "itmZoomPreviousWindow")->isEnabled());
    QVERIFY(!button(*m_form, "cmdNext")->isVisible());
}

void ZoomPagingTest::boxGoesOnRelease() {
    open(m_days);
    const auto [a, b] = middleBox(*m_form);
    drag(*m_form, a, b);
    QTest::qWait(350); // three ticks of the rubber band, were it running
    QVERIFY(!m_form->findChild<QTimer*>(QStringLiteral("tmrBox"))->isActive());
    // Where the box was outlined the window shows the graph alone.
    const QRect box = QRect(a, b).adjusted(-1, -1, 1, 1);
    QCOMPARE(canvasOf(*m_form)->grab(box).toImage(), m_form->picture().copy(box).toImage());
    // The help tells the operator so.
    QFile help(QStringLiteral(":/OrvGraph/help/zooming.html"));
    QVERIFY(help.open(QIODevice::ReadOnly));
    QVERIFY(!help.readAll().contains("blink"));
}

void ZoomPagingTest::dragWithoutExtentChangesNothing_data() {
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<Qt::MouseButton>("mouseButton");
    QTest::newRow("no width") << QPoint(0, 60) << Qt::LeftButton;
    QTest::newRow("no height") << QPoint(60, 0) << Qt::LeftButton;
    QTest::newRow("right button") << QPoint(60, 60) << Qt::RightButton;
}

void ZoomPagingTest::dragWithoutExtentChangesNothing() {
    QFETCH(QPoint, offset);
    QFETCH(Qt::MouseButton, mouseButton);
    open(m_days);
    const TimeAxis before = m_form->plotArea().timeAxis;
    const QPoint from = middleBox(*m_form).first;
    drag(*m_form, from, from + offset, mouseButton);
    QCOMPARE(m_form->plotArea().timeAxis.mode, 0);
    QCOMPARE(m_form->plotArea().timeAxis.end, before.end);
    QVERIFY(!item(*m_form, "itmZoomPreviousWindow")->isEnabled());
    auto* zoomMenu = m_form->findChild<QMenu*>(QStringLiteral("mnuZoom"));
    QCOMPARE(zoomMenu->isVisible(), mouseButton == Qt::RightButton);
    zoomMenu->close();
}

void ZoomPagingTest::thirdZoomGivesTheMessageOnce() {
    open(m_days);
    ModalAnswerer answerer;
    for (int zoom = 1; zoom <= 3; ++zoom) {
        const auto [a, b] = middleBox(*m_form);
        drag(*m_form, a, b);
        QCOMPARE(item(*m_form, "itmZoomPreviousWindow")->isEnabled(), zoom < 3);
    }
    QCOMPARE(answerer.texts(), QStringList{kTwoSteps});
    QCOMPARE(m_form->plotArea().timeAxis.mode, 4);
}

void ZoomPagingTest::zoomAllThenPreviousReturnsToTheBox() {
    open(m_days);
    const auto [a, b] = middleBox(*m_form);
    drag(*m_form, a, b);
    const TimeAxis zoomed = m_form->plotArea().timeAxis;
    item(*m_form, "itmZoomAll")->trigger();
    QCOMPARE(m_form->plotArea().timeAxis.mode, 0);
    QCOMPARE(m_form->plotArea().timeAxis.last, 146);
    QVERIFY(m_form->plotArea().levelAxis.autoMin);
    QVERIFY(item(*m_form, "itmZoomPreviousWindow")->isEnabled());
    item(*m_form, "itmZoomPreviousWindow")->trigger();
    QCOMPARE(m_form->plotArea().timeAxis.mode, 4);
    QCOMPARE(m_form->plotArea().timeAxis.first, zoomed.first);
    QCOMPARE(m_form->plotArea().timeAxis.last, zoomed.last);
    QVERIFY(!item(*m_form, "itmZoomPreviousWindow")->isEnabled());
}

void ZoomPagingTest::previousAfterOneBoxShowsAllData() {
    open(m_days);
    const auto [a, b] = middleBox(*m_form);
    drag(*m_form, a, b);
    item(*m_form, "itmZoomPreviousWindow")->trigger();
    QCOMPARE(m_form->plotArea().timeAxis.mode, 0);
    QCOMPARE(m_form->plotArea().timeAxis.first, 0);
    QCOMPARE(m_form->plotArea().timeAxis.last, 146);
}

void ZoomPagingTest::previousRestoresTheBoxedView_data() {
    QTest::addColumn<int>("mode");       // of the view the first box is drawn on
    QTest::addColumn<bool>("backwards"); // the first box dragged up and left
    QTest::addColumn<bool>("resized");   // the window resized before going back
    QTest::addColumn<bool>("secondBox"); // a second box, else Zoom All
    QTest::newRow("first box dragged backwards") << 0 << true << false << true;
    QTest::newRow("resized in between") << 0 << false << true << true;
    QTest::newRow("first box on a day page") << 2 << false << false << true;
    QTest::newRow("box on an hour page, Zoom All") << 3 << false << false << false;
}

void ZoomPagingTest::previousRestoresTheBoxedView() {
    QFETCH(int, mode);
    QFETCH(bool, backwards);
    QFETCH(bool, resized);
    QFETCH(bool, secondBox);
    open(m_days);
    if (mode != 0)
        chooseMode(*m_form, mode);
    const auto [a, b] = middleBox(*m_form);
    if (backwards)
        drag(*m_form, b, a);
    else
        drag(*m_form, a, b);
    const PlotArea boxed = m_form->plotArea();
    if (secondBox) {
        const auto [c, d] = middleBox(*m_form, 3);
        drag(*m_form, c, d);
    } else {
        item(*m_form, "itmZoomAll")->trigger();
    }
    if (resized) {
        m_form->resize(640, 420);
        QTRY_COMPARE(canvasOf(*m_form)->width(), m_form->centralWidget()->width());
    }
    item(*m_form, "itmZoomPreviousWindow")->trigger();
    const PlotArea& back = m_form->plotArea();
    QCOMPARE(back.timeAxis.mode, 4);
    QCOMPARE(back.timeAxis.start, boxed.timeAxis.start);
    QCOMPARE(back.timeAxis.end, boxed.timeAxis.end);
    QCOMPARE(back.levelAxis.min, boxed.levelAxis.min);
    QCOMPARE(back.levelAxis.max, boxed.levelAxis.max);
}

void ZoomPagingTest::newFileStartsWithAutomaticScales() {
    open(m_days);
    const LevelAxis whole = m_form->plotArea().levelAxis;
    const auto [a, b] = middleBox(*m_form);
    drag(*m_form, a, b);
    QVERIFY(!m_form->plotArea().levelAxis.autoMin);
    open(m_days);
    const LevelAxis& level = m_form->plotArea().levelAxis;
    QVERIFY(level.autoMin && level.autoMax && level.autoMajor && level.autoMinor);
    QCOMPARE(level.min, whole.min);
    QCOMPARE(level.max, whole.max);
}

void ZoomPagingTest::pagingByDay() {
    open(m_days);
    chooseMode(*m_form, 2);
    const TimeAxis& time = m_form->plotArea().timeAxis;
    auto* next = button(*m_form, "cmdNext");
    auto* previous = button(*m_form, "cmdPrevious");
    // The first page holds 23:50 and the midnight that ends its day.
    QCOMPARE(time.start, DateSerial::fromDate(QDate(2003, 12, 30)));
    QVERIFY(next->isVisible() && !previous->isVisible());
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(time.start, DateSerial::fromDate(QDate(2003, 12, 31)));
    QCOMPARE(time.end, DateSerial::fromDate(QDate(2004, 1, 1)));
    // Both midnights: the end edge belongs to the page.
    QCOMPARE(time.last - time.first + 1, 145);
    QVERIFY(next->isVisible() && previous->isVisible());
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(time.start, DateSerial::fromDate(QDate(2004, 1, 1)));
    QCOMPARE(time.last, 146);
    QVERIFY(!next->isVisible() && previous->isVisible());
    QTest::mouseClick(previous, Qt::LeftButton);
    QCOMPARE(time.start, DateSerial::fromDate(QDate(2003, 12, 31)));
}

void ZoomPagingTest::pagingByHourWithKeys() {
    open(m_days);
    chooseMode(*m_form, 3);
    const TimeAxis& time = m_form->plotArea().timeAxis;
    auto* next = button(*m_form, "cmdNext");
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Space);
    QTest::keyClick(next, Qt::Key_Space);
    QCOMPARE(time.start,
             DateSerial::fromDateTime(QDateTime(QDate(2003, 12, 31), QTime(1, 0), Qt::UTC)));
    QCOMPARE(time.last - time.first + 1, 7);
    auto* previous = button(*m_form, "cmdPrevious");
    QTest::keyClick(previous, Qt::Key_Space);
    QCOMPARE(time.start, DateSerial::fromDate(QDate(2003, 12, 31)));
}

void ZoomPagingTest::cursorReadsTimeAndLevel() {
    open(m_days);
    QWidget* canvas = canvasOf(*m_form);
    const QRectF plot = m_form->plotArea().plotRect();
    auto* label = m_form->findChild<QLabel*>(QStringLiteral("lblCursor"));
    QTest::mouseMove(canvas, QPoint(int(plot.left()) - 5, int(plot.top()) + 5));
    QCOMPARE(canvas->cursor().shape(), Qt::ArrowCursor);
    const QPoint at(int(plot.left()), int(plot.bottom()) - 1);
    QTest::mouseMove(canvas, at);
    QCOMPARE(canvas->cursor().shape(), Qt::CrossCursor);
    QVERIFY(label->isVisible());
    const QLocale locale;
    const QString level = locale.toString(yToLevel(m_form->plotArea(), at.y()), 'f', 1);
    // The left edge is the first row's time.
    QCOMPARE(label->text(), QStringLiteral("Cursor: Time 30/12/2003 23:50:00, Level ") + level +
                                QStringLiteral("dB."));
}

void ZoomPagingTest::copyButtonAndCursorKeepClear_data() {
    QTest::addColumn<bool>("smallest");
    QTest::newRow("wide") << false;
    QTest::newRow("smallest") << true;
}

void ZoomPagingTest::copyButtonAndCursorKeepClear() {
    QFETCH(bool, smallest);
    if (smallest)
        m_form->resize(m_form->minimumSize());
    open(m_days);
    QWidget* canvas = canvasOf(*m_form);
    QTRY_COMPARE(canvas->size(), m_form->centralWidget()->size());
    const QRectF area = m_form->plotArea().plotRect();
    QTest::mouseMove(canvas, QPoint(int(area.right()) - 2, int(area.top()) + 2));
    auto* cursor = m_form->findChild<QLabel*>(QStringLiteral("lblCursor"));
    QVERIFY(cursor->isVisible());
    const auto inWindow = [this](const QWidget* widget) {
        return QRect(widget->mapTo(m_form.get(), QPoint(0, 0)), widget->size());
    };
    const QRect plot(canvas->mapTo(m_form.get(), area.topLeft().toPoint()), area.size().toSize());
    auto* copy = button(*m_form, "Command1");
    QVERIFY(copy->isVisible());
    QVERIFY(!inWindow(copy).intersects(plot));
    QVERIFY(!inWindow(copy).intersects(inWindow(cursor)));
    QVERIFY(!inWindow(cursor).intersects(plot));
    // A click on the button reaches it.
    QCOMPARE(m_form->childAt(inWindow(copy).center()), copy);
}

void ZoomPagingTest::doubleClickOpensItsDialog_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("plot") << "plot"
                          << "frmDataSet";
    QTest::newRow("time axis") << "time"
                               << "frmXAxis";
    QTest::newRow("level axis") << "level"
                                << "frmYAxis";
}

void ZoomPagingTest::doubleClickOpensItsDialog() {
    QFETCH(QString, where);
    QFETCH(QString, dialog);
    open(m_days);
    const PlotArea& area = m_form->plotArea();
    const QPoint at = where == "plot" ? QPoint(int(area.left + area.width / 2), int(area.top + 20))
                      : where == "time"
                          ? QPoint(int(area.left + area.width / 2), int(area.bottom + 2))
                          : QPoint(int(area.levelLabelWidth + 2), int(area.top + 20));
    QStringList events;
    connect(m_form.get(), &frmGraph::ModalStart, this, [&events] { events << "Start"; });
    connect(m_form.get(), &frmGraph::ModalStop, this, [&events] { events << "Stop"; });
    QString opened;
    whenModal<QDialog>([&opened](QDialog* shown) {
        opened = shown->objectName();
        shown->reject();
    });
    // What a double-click delivers: press, release, double-click, release.
    QWidget* canvas = canvasOf(*m_form);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, at);
    QTest::mouseDClick(canvas, Qt::LeftButton, {}, at);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, at);
    QCOMPARE(opened, dialog);
    QCOMPARE(events, QStringList({"Start", "Stop"}));
    // A cancelled dialog leaves the view as it was.
    QCOMPARE(area.timeAxis.mode, 0);
}

void ZoomPagingTest::onePointAndEmptyViews_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("mode");
    QTest::newRow("one point, all data") << 1 << 0;
    QTest::newRow("one point, by day") << 1 << 2;
    QTest::newRow("one point, by hour") << 1 << 3;
    QTest::newRow("two points, by hour") << 2 << 3;
}

void ZoomPagingTest::onePointAndEmptyViews() {
    QFETCH(int, rows);
    QFETCH(int, mode);
    open(writeRows(*m_folder, QStringLiteral("few_Sta.csv"),
                   QDateTime(QDate(2003, 12, 30), QTime(14, 5), Qt::UTC), rows, 90));
    chooseMode(*m_form, mode);
    const TimeAxis& time = m_form->plotArea().timeAxis;
    QCOMPARE(time.first, 0);
    QCOMPARE(time.last, qMin(rows - 1, 1));
    // A box over a view of one instant, and the views around it.
    const auto [a, b] = middleBox(*m_form);
    drag(*m_form, a, b);
    QVERIFY(time.first >= 0 && time.last <= rows - 1 && time.first <= time.last);
    QVERIFY(std::isfinite(time.start) && std::isfinite(time.end));
    item(*m_form, "itmZoomAll")->trigger();
    QCOMPARE(time.last, rows - 1);
}

void ZoomPagingTest::resizeAfterAFileWithoutDataClears() {
    open(m_days);
    ModalAnswerer answerer;
    const QString headingsOnly = m_folder->filePath(QStringLiteral("empty_Sta.csv"));
    using namespace DataFileWriter;
    const QDateTime start(QDate(2003, 12, 30), QTime(22, 0), Qt::UTC);
    writeFile(headingsOnly, headerBlock(typicalHeader(QLocale::system(), start, start, false)) +
                                "\r\n" + headingLine(statisticalColumns()));
    open(headingsOnly);
    m_form->resize(700, 450);
    QTRY_COMPARE(canvasOf(*m_form)->width(), m_form->centralWidget()->width());
    const QImage picture = m_form->picture().toImage();
    QCOMPARE(picture.pixelColor(picture.width() / 2, picture.height() / 2),
             picture.pixelColor(1, 1));
}

void ZoomPagingTest::closeFileClearsTheMarks() {
    open(m_days);
    const PlotArea& area = m_form->plotArea();
    QWidget* canvas = canvasOf(*m_form);
    // A click on the time axis marks its strip.
    const QPoint onTimeAxis(int(area.left + area.width / 2), int(area.bottom + 2));
    QTest::mouseClick(canvas, Qt::LeftButton, {}, onTimeAxis);
    QVERIFY(canvas->grab().toImage() != m_form->picture().toImage());
    ModalAnswerer answerer(QMessageBox::Yes);
    item(*m_form, "itmCloseFile")->trigger();
    QCOMPARE(canvas->grab().toImage(), m_form->picture().toImage());
}

QTEST_MAIN(ZoomPagingTest)
#include "test_zoom_paging.moc"
