#include "frmGraph.h"

#include "DataFileReader.h"
#include "DateSerial.h"
#include "GraphCanvas.h"
#include "GraphOutput.h"
#include "GraphPainter.h"
#include "Messages.h"
#include "OpenFileDialog.h"
#include "TimeFormats.h"
#include "Twips.h"
#include "ViewWindow.h"
#include "ViewerSettings.h"
#include "WaitCursor.h"
#include "frmData.h"
#include "frmDataSet.h"
#include "frmHeader.h"
#include "frmHelp.h"
#include "frmIndicators.h"
#include "frmProgress.h"
#include "frmXAxis.h"
#include "frmYAxis.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <optional>

namespace {

// The window is never smaller than this (twips).
constexpr QSize kMinimumSize(4500, 3000);
constexpr int kMargin = 13;
constexpr double kLineFactor = 1.0;
// Below this plot width the paging buttons take their short captions.
constexpr double kNarrowPlot = 250.0;
constexpr QSize kNarrowButton(57, 17);
constexpr QSize kWideButton(89, 29);
constexpr int kButtonInset = 5;
constexpr int kRubberBandInterval = 100;
const QString kCursorDesignText = QStringLiteral("Cursor : Time 22/22/2222 22:22 , Level  222.2dB");
const QString kTwoSteps =
    QStringLiteral("Only two steps are remembered. Previous view would not be avaliable");
// A box must be wider and higher than this to show while it is dragged.
constexpr int kBoxThreshold = 10;
constexpr int kMarkSize = 4;

// Edges included, as the hit tests count them.
bool inside(QPointF point, const QRectF& rect) {
    return rect.x() <= point.x() && point.x() <= rect.x() + rect.width() && rect.y() <= point.y() &&
           point.y() <= rect.y() + rect.height();
}

QPoint clamped(QPoint point, const QRectF& rect) {
    const int right = int(rect.x() + rect.width() - 1);
    const int bottom = int(rect.y() + rect.height() - 1);
    return {std::clamp(point.x(), int(rect.x()), qMax(int(rect.x()), right)),
            std::clamp(point.y(), int(rect.y()), qMax(int(rect.y()), bottom))};
}

// Eight small squares centred on the corners and the middles of the sides.
QList<QRect> marksOf(const QRectF& rect) {
    QList<QRect> marks;
    const double xs[] = {rect.left(), rect.center().x(), rect.right()};
    const double ys[] = {rect.top(), rect.center().y(), rect.bottom()};
    for (const double y : ys) {
        for (const double x : xs) {
            if (x == xs[1] && y == ys[1])
                continue;
            marks << QRect(int(x) - kMarkSize / 2, int(y) - kMarkSize / 2, kMarkSize, kMarkSize);
        }
    }
    return marks;
}

// The rectangle moved (and if need be shrunk) so that it lies on the screen
// that holds its centre, or on the primary screen when none does.
QRect keptOnScreen(QRect window, const QSize& minimum) {
    const QScreen* screen = QGuiApplication::screenAt(window.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return window;
    const QRect available = screen->availableGeometry();
    window.setSize(window.size().boundedTo(available.size()).expandedTo(minimum));
    const int x = std::clamp(window.x(), available.left(),
                             qMax(available.left(), available.right() - window.width() + 1));
    const int y = std::clamp(window.y(), available.top(),
                             qMax(available.top(), available.bottom() - window.height() + 1));
    window.moveTo(x, y);
    return window;
}

QAction* addItem(QMenu* menu, const QString& name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

} // namespace

frmGraph::BusyPeriod::BusyPeriod(frmGraph& window) : m_window(window) {
    emit m_window.ModalStart();
}

frmGraph::BusyPeriod::~BusyPeriod() {
    emit m_window.ModalStop();
}

frmGraph::frmGraph(QWidget* parent)
    : QMainWindow(parent), m_openFileSource(&OpenFileDialog::getFileName),
      m_printDialogSource(&showPrintDialog) {
    setObjectName(QStringLiteral("frmGraph"));
    setWindowTitle(QStringLiteral("Orv - Data Viewing Utility"));
    setMinimumSize(Twips::toPixels(kMinimumSize));
    m_canvas = new GraphCanvas(this);
    m_canvas->setObjectName(QStringLiteral("pbxGraph"));
    setCentralWidget(m_canvas);
    m_progress = new frmProgress(this);
    m_header = new frmHeader(this);
    m_help = new frmHelp(this);
    m_indicators = new frmIndicators(m_locale, this);
    m_table = new frmData(this);
    connect(m_table, &frmData::ModalStart, this, &frmGraph::ModalStart);
    connect(m_table, &frmData::ModalStop, this, &frmGraph::ModalStop);
    m_printer = std::make_unique<QPrinter>();
    buildMenus();
    buildControls();

    const QFontMetricsF metrics(m_canvas->font(), &m_canvas->picture());
    m_plot = initPlotArea(m_canvas->size(), metrics, kMargin, kLineFactor);
    applyStoredPlacement();
    m_data = GraphData();
    enableMenus(false);
    showPaging(false);
    connect(m_canvas, &GraphCanvas::resized, this, &frmGraph::layoutControls);
}

frmGraph::~frmGraph() = default;

void frmGraph::buildMenus() {
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    itmReadFile = addItem(mnuFile, QStringLiteral("itmReadFile"), QStringLiteral("&Open File..."));
    itmCloseFile = addItem(mnuFile, QStringLiteral("itmCloseFile"), QStringLiteral("&Close File"));
    itmViewData = addItem(mnuFile, QStringLiteral("itmViewData"), QStringLiteral("&View Data"));
    itmViewHeader =
        addItem(mnuFile, QStringLiteral("itmViewHeader"), QStringLiteral("View &Header"));
    itmPrintGraph =
        addItem(mnuFile, QStringLiteral("itmPrintGraph"), QStringLiteral("&Print Graph..."));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("itmBlank"));
    itmExit = addItem(mnuFile, QStringLiteral("itmExit"), QStringLiteral("E&xit Orv Data Viewer"));

    mnuGraph = menuBar()->addMenu(QStringLiteral("&Graph"));
    mnuGraph->setObjectName(QStringLiteral("mnuGraph"));
    itmSelectData =
        addItem(mnuGraph, QStringLiteral("itmSelectData"), QStringLiteral("Select &Data Sets..."));
    itmEditXAxis =
        addItem(mnuGraph, QStringLiteral("itmEditXAxis"), QStringLiteral("Edit &X Axis..."));
    itmEditYAxis =
        addItem(mnuGraph, QStringLiteral("itmEditYAxis"), QStringLiteral("Edit &Y Axis..."));

    mnuZoom = menuBar()->addMenu(QStringLiteral("&Zoom"));
    mnuZoom->setObjectName(QStringLiteral("mnuZoom"));
    itmZoomAll = addItem(mnuZoom, QStringLiteral("itmZoomAll"), QStringLiteral("Zoom &All"));
    itmZoomPreviousWindow = addItem(mnuZoom, QStringLiteral("itmZoomPreviousWindow"),
                                    QStringLiteral("Previous &Window"));

    mnuView = menuBar()->addMenu(QStringLiteral("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    itmViewIndicators = addItem(mnuView, QStringLiteral("itmViewIndicators"),
                                QStringLiteral("Noise &Indicators..."));

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    itmHelpContents =
        addItem(mnuHelp, QStringLiteral("itmHelpContents"), QStringLiteral("&Contents"));
    itmHelpSearch = addItem(mnuHelp, QStringLiteral("itmHelpSearch"), QStringLiteral("&Search"));

    connect(itmReadFile, &QAction::triggered, this, &frmGraph::openFile);
    connect(itmCloseFile, &QAction::triggered, this, &frmGraph::closeFile);
    connect(itmViewHeader, &QAction::triggered, this, &frmGraph::viewHeader);
    connect(itmViewIndicators, &QAction::triggered, this, &frmGraph::viewIndicators);
    connect(itmViewData, &QAction::triggered, this, &frmGraph::viewData);
    connect(itmPrintGraph, &QAction::triggered, this, &frmGraph::printGraph);
    connect(itmSelectData, &QAction::triggered, this, &frmGraph::selectData);
    connect(itmEditXAxis, &QAction::triggered, this, &frmGraph::editXAxis);
    connect(itmEditYAxis, &QAction::triggered, this, &frmGraph::editYAxis);
    connect(itmZoomAll, &QAction::triggered, this, &frmGraph::zoomAll);
    connect(itmZoomPreviousWindow, &QAction::triggered, this, &frmGraph::previousWindow);
    connect(itmExit, &QAction::triggered, this, &QWidget::close);
    connect(itmHelpContents, &QAction::triggered, this,
            [this] { showHelp(frmHelp::kContentsContext); });
    connect(itmHelpSearch, &QAction::triggered, this,
            [this] { showHelp(frmHelp::kSearchContext); });
}

void frmGraph::buildControls() {
    cmdPrevious = new QPushButton(QStringLiteral("Previous Page"), m_canvas);
    cmdPrevious->setObjectName(QStringLiteral("cmdPrevious"));
    cmdNext = new QPushButton(QStringLiteral("Next Page"), m_canvas);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    // In the menu bar's corner: over the canvas it would hide the top of the
    // plot, and the cursor read-out would cover it.
    Command1 = new QPushButton(QStringLiteral("&Copy"), menuBar());
    Command1->setObjectName(QStringLiteral("Command1"));
    menuBar()->setCornerWidget(Command1, Qt::TopRightCorner);
    Command1->hide();
    connect(Command1, &QPushButton::clicked, this, &frmGraph::copyGraph);
    lblFileName = new QLabel(m_canvas);
    lblFileName->setObjectName(QStringLiteral("lblFileName"));
    lblFileName->hide();
    lblCursor = new QLabel(kCursorDesignText, m_canvas);
    lblCursor->setObjectName(QStringLiteral("lblCursor"));
    lblCursor->adjustSize();
    lblCursor->hide();
    Label1 = new QLabel(m_canvas);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->hide();
    tmrBox = new QTimer(this);
    tmrBox->setObjectName(QStringLiteral("tmrBox"));
    tmrBox->setInterval(kRubberBandInterval);
    connect(tmrBox, &QTimer::timeout, this, &frmGraph::boxTick);
    connect(cmdNext, &QPushButton::clicked, this, &frmGraph::nextPage);
    connect(cmdPrevious, &QPushButton::clicked, this, &frmGraph::previousPage);
    connect(m_canvas, &GraphCanvas::pressed, this, &frmGraph::mousePressed);
    connect(m_canvas, &GraphCanvas::moved, this, &frmGraph::mouseMoved);
    connect(m_canvas, &GraphCanvas::released, this, &frmGraph::mouseReleased);
    connect(m_canvas, &GraphCanvas::doubleClicked, this, &frmGraph::mouseDoubleClicked);
}

void frmGraph::setOpenFileSource(OpenFileSource source) {
    m_openFileSource = std::move(source);
}

void frmGraph::setPrintDialogSource(PrintDialogSource source) {
    m_printDialogSource = std::move(source);
}

const QPixmap& frmGraph::picture() const {
    return m_canvas->picture();
}

void frmGraph::applyStoredPlacement() {
    const QRect twips = ViewerSettings::readPlacement();
    const QRect window(Twips::toPixels(twips.topLeft()), Twips::toPixels(twips.size()));
    const QRect placed = keptOnScreen(window, minimumSize());
    move(placed.topLeft());
    resize(placed.size());
}

void frmGraph::savePlacement() {
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    ViewerSettings::writePlacement(
        QRect(QPoint(Twips::fromPixels(x()), Twips::fromPixels(y())),
              QSize(Twips::fromPixels(width()), Twips::fromPixels(height()))));
}

void frmGraph::display() {
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void frmGraph::layoutControls() {
    if (isMinimized())
        return;
    layoutPlotArea(m_plot, m_canvas->size(), QFontMetricsF(m_canvas->font(), &m_canvas->picture()));
    const int plotLeft = int(m_plot.left);
    const int plotRight = int(m_plot.left + m_plot.width);
    lblCursor->move(plotRight - lblCursor->width(), 0);
    lblFileName->move(plotLeft, 0);

    const bool narrow = m_plot.width < kNarrowPlot;
    cmdPrevious->setText(narrow ? QStringLiteral("Previous") : QStringLiteral("Previous Page"));
    cmdNext->setText(narrow ? QStringLiteral("Next") : QStringLiteral("Next Page"));
    const QSize button = narrow ? kNarrowButton : kWideButton;
    const int buttonTop = int(m_plot.top) + kButtonInset;
    cmdPrevious->setGeometry(QRect(QPoint(plotLeft + kButtonInset, buttonTop), button));
    cmdNext->setGeometry(
        QRect(QPoint(plotRight - button.width() - kButtonInset, buttonTop), button));

    rubberBand(false);
    redraw();
}

void frmGraph::redraw() {
    QPixmap& picture = m_canvas->picture();
    if (picture.isNull())
        return;
    // Without data there is nothing to lay out: an empty surface, not the last
    // file's axes.
    if (!m_data.hasData()) {
        clearGraph();
        return;
    }
    WaitCursor hourglass;
    QPainter painter(&picture);
    painter.setFont(m_canvas->font());
    GraphPainter graph(painter, m_locale);
    const bool drawsLines = m_data.setCount() >= 1 && m_plot.isDrawable();
    if (drawsLines) {
        m_progress->start(QStringLiteral("Drawing Graph"),
                          QStringLiteral("Drawing graph.  Please Wait"));
        graph.setProgress([this](int percent) { m_progress->SetValue(percent); });
    }
    graph.redraw(m_plot, m_data, m_canvas->background());
    painter.end();
    if (drawsLines)
        m_progress->hide();
    m_canvas->update();
}

void frmGraph::clearGraph() {
    // The whole drawing goes: a zoom box and the marks of the last click too.
    rubberBand(false);
    m_canvas->clear();
}

void frmGraph::AdjustXObjects() {
    TimeAxis& axis = m_plot.timeAxis;
    ViewWindow::compute(axis, m_data);
    const bool paged = ViewWindow::isPaged(axis.mode);
    cmdPrevious->setVisible(paged && ViewWindow::hasPrevious(axis));
    cmdNext->setVisible(paged && ViewWindow::hasNext(axis, m_data));
    redraw();
    refreshIndicatorsWindow();
}

void frmGraph::enableMenus(bool enabled) {
    mnuGraph->menuAction()->setEnabled(enabled);
    mnuZoom->menuAction()->setEnabled(enabled);
    mnuView->menuAction()->setEnabled(enabled);
    itmCloseFile->setEnabled(enabled);
    itmViewHeader->setEnabled(enabled);
    itmViewIndicators->setEnabled(enabled);
    itmPrintGraph->setEnabled(enabled);
    itmViewData->setEnabled(enabled);
    Command1->setVisible(enabled);
}

void frmGraph::showPaging(bool visible) {
    cmdNext->setVisible(visible);
    cmdPrevious->setVisible(visible);
}

void frmGraph::rubberBand(bool enabled) {
    if (enabled) {
        tmrBox->start();
        return;
    }
    tmrBox->stop();
    m_canvas->clearTemporary();
}

void frmGraph::openFile() {
    BusyPeriod busy(*this);
    clearZoomHistory();
    const QString path = m_openFileSource(this, ViewerSettings::readOpenFolder());
    if (path.isEmpty())
        return;
    ViewerSettings::writeOpenFolder(QFileInfo(path).absolutePath());

    ReadResult result;
    {
        WaitCursor hourglass;
        m_progress->start(QStringLiteral("Reading file data."),
                          QStringLiteral("Reading file data.  Please wait."));
        ReadOptions options;
        options.locale = m_locale;
        options.progress = [this](int percent) { m_progress->SetValue(percent); };
        result = readDataFile(path, options);
        m_progress->hide();
    }

    switch (result.status) {
    case ReadResult::Status::Failed: {
        // The file and view shown before stay as they were.
        BusyPeriod message(*this);
        Messages::show(this, Messages::kTitle, ReaderMessages::failure(result.error),
                       QMessageBox::Warning);
        return;
    }
    case ReadResult::Status::BadFileType:
        Messages::show(this, ReaderMessages::kBadFileTypeTitle, ReaderMessages::kBadFileType,
                       QMessageBox::Warning);
        break;
    case ReadResult::Status::Read:
        break;
    }
    m_data = std::move(result.data);
    m_path = path;
    m_table->discard(); // the table showed the file before
    m_indicators->forgetFile();
    if (m_data.hasData())
        showData(QFileInfo(path).fileName());
    else
        showNoData();
    if (result.skippedRows > 0) {
        BusyPeriod message(*this);
        Messages::show(this, Messages::kTitle, ReaderMessages::skippedRows(result.skippedRows),
                       QMessageBox::Information);
    }
}

void frmGraph::showData(const QString& fileName) {
    applyDefaultStyles(m_data);
    lblFileName->setText(fileName);
    lblFileName->adjustSize();
    lblFileName->show();
    enableMenus(true);
    itmZoomPreviousWindow->setEnabled(false);
    m_plot.timeAxis.mode = ViewWindow::kAllData;
    m_plot.timeAxis.first = 0;
    // A zoom on the last file fixed the level range to its box.
    LevelAxis& level = m_plot.levelAxis;
    level.autoMin = level.autoMax = level.autoMajor = level.autoMinor = true;
    clearZoomHistory();
    refreshHeaderWindow();
    AdjustXObjects();
}

void frmGraph::showNoData() {
    enableMenus(false);
    lblCursor->hide();
    lblFileName->hide();
    clearGraph();
    refreshHeaderWindow();
    refreshIndicatorsWindow();
    BusyPeriod message(*this);
    Messages::show(this, Messages::kTitle, Messages::kNoData, QMessageBox::Warning);
}

void frmGraph::closeFile() {
    BusyPeriod busy(*this);
    const auto answer = Messages::show(this, Messages::kConfirmTitle, Messages::kConfirmClose,
                                       QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    m_data = GraphData();
    m_path.clear();
    m_table->discard();
    m_indicators->forgetFile();
    clearGraph();
    lblCursor->hide();
    lblFileName->hide();
    showPaging(false);
    enableMenus(false);
    refreshHeaderWindow();
    refreshIndicatorsWindow();
}

void frmGraph::printGraph() {
    // Printing raises no busy period, nor does its dialog, which is the
    // operator's to answer; only a failure's message does, as messages do.
    const PrintOutcome outcome = PrintGraph(this, *m_printer, m_data, m_plot, m_canvas->font(),
                                            m_locale, m_printDialogSource);
    if (outcome.status == PrintOutcome::Status::Failed) {
        BusyPeriod message(*this);
        Messages::show(this, Messages::kTitle, outcome.message, QMessageBox::Warning);
    }
}

void frmGraph::viewData() {
    m_table->ShowData(m_data, m_locale);
}

void frmGraph::copyGraph() {
    CopyGraphToClipboard(picture());
}

void frmGraph::viewHeader() {
    m_header->showEntries(m_data.headers);
}

// A header window left open shows the header of the file now open, and goes
// when no file is open.
void frmGraph::refreshHeaderWindow() {
    if (!m_header->isVisible())
        return;
    if (m_data.hasData())
        viewHeader();
    else
        m_header->hide();
}

void frmGraph::viewIndicators() {
    if (!m_data.hasData())
        return;
    m_indicators->setRange(m_path, m_data, shownRange());
    m_indicators->show();
    m_indicators->raise();
    m_indicators->activateWindow();
}

// An indicators window left open follows the view and the file; it goes when
// no file is open. Only here and on demand are the figures computed.
void frmGraph::refreshIndicatorsWindow() {
    if (!m_indicators->isVisible())
        return;
    if (m_data.hasData())
        m_indicators->setRange(m_path, m_data, shownRange());
    else
        m_indicators->hide();
}

SerialRange frmGraph::shownRange() const {
    const TimeAxis& axis = m_plot.timeAxis;
    if (axis.mode == ViewWindow::kAllData)
        return wholeFileRange(m_data);
    return {axis.start, axis.end};
}

void frmGraph::showHelp(int context) {
    m_help->showContext(context);
}

void frmGraph::closeEvent(QCloseEvent* event) {
    { BusyPeriod closing(*this); }
    savePlacement();
    m_header->hide();
    m_help->hide();
    m_indicators->hide();
    m_progress->hide();
    m_table->hide();
    for (QDialog* dialog :
         std::initializer_list<QDialog*>{m_xAxisDialog, m_yAxisDialog, m_dataSetDialog}) {
        if (dialog)
            dialog->hide();
    }
    event->accept();
    // The owner may release this window's object in its handler: nothing here
    // touches the window after this.
    emit GraphClosed();
}

void frmGraph::clearZoomHistory() {
    m_currentBox = Box();
    m_newerZoom.reset();
    m_olderZoom.reset();
    m_zoomCount = 0;
    m_modeAtLastZoom = 0;
    m_modeBefore = 0;
    m_goingBack = false;
    m_dragging = false;
}

QRectF frmGraph::timeStrip() const {
    return {m_plot.left, m_plot.bottom, m_plot.width, double(m_plot.margin)};
}

QRectF frmGraph::levelStrip() const {
    return {m_plot.levelLabelWidth, m_plot.top, double(m_plot.margin), m_plot.height};
}

void frmGraph::showCursorReadout(QPoint point) {
    const QDateTime stamp = DateSerial::toDateTime(xToTime(m_plot, point.x()));
    // The general date-and-time text: the short date and the time with seconds.
    const QString when = m_locale.toString(stamp.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                         m_locale.toString(stamp.time(), secondsTimeFormat(m_locale));
    QLocale numbers = m_locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    lblCursor->setText(QStringLiteral("Cursor: Time ") + when + QStringLiteral(", Level ") +
                       numbers.toString(yToLevel(m_plot, point.y()), 'f', 1) +
                       QStringLiteral("dB."));
    lblCursor->adjustSize();
    lblCursor->move(int(m_plot.left + m_plot.width) - lblCursor->width(), 0);
    lblCursor->show();
    lblFileName->show();
}

void frmGraph::mousePressed(QPoint point, Qt::MouseButton) {
    if (!m_data.hasData())
        return;
    m_anchor = point;
    rubberBand(false);
    if (inside(point, m_plot.plotRect())) {
        m_dragging = true;
        m_boxColour = Qt::red;
        m_canvas->clearTemporary();
    }
}

void frmGraph::mouseMoved(QPoint point) {
    if (!m_data.hasData())
        return;
    if (!inside(point, m_plot.plotRect()) && !m_dragging) {
        m_canvas->unsetCursor();
        return;
    }
    m_canvas->setCursor(Qt::CrossCursor);
    showCursorReadout(point);
    if (!m_dragging)
        return;
    const QPoint end = clamped(point, m_plot.plotRect());
    if (std::abs(end.x() - m_anchor.x()) > kBoxThreshold &&
        std::abs(end.y() - m_anchor.y()) > kBoxThreshold)
        m_canvas->showBox(QRect(m_anchor, end).normalized(), m_boxColour);
}

void frmGraph::mouseReleased(QPoint point, Qt::MouseButton button) {
    m_canvas->clearTemporary();
    if (!m_data.hasData())
        return;
    QPoint release = point;
    if (inside(m_anchor, m_plot.plotRect()) && m_dragging) {
        m_dragging = false;
        release = clamped(release, m_plot.plotRect());
        const bool right = button == Qt::RightButton;
        if (right)
            mnuZoom->popup(m_canvas->mapToGlobal(point));
        if (release.x() == m_anchor.x() || release.y() == m_anchor.y() || right)
            return;
        m_modeBefore = m_modeAtLastZoom;
        ++m_zoomCount;
        m_currentBox = {
            double(qMin(m_anchor.x(), release.x())), double(qMin(m_anchor.y(), release.y())),
            double(qMax(m_anchor.x(), release.x())), double(qMax(m_anchor.y(), release.y()))};
        m_olderZoom = m_newerZoom;
        m_newerZoom = rangeOf(m_currentBox);
        const bool small = m_currentBox.x2 - m_currentBox.x1 <= kBoxThreshold ||
                           m_currentBox.y2 - m_currentBox.y1 <= kBoxThreshold;
        rubberBand(!small);
    }
    const bool inPlot = inside(release, m_plot.plotRect());
    const bool inTime = inside(release, timeStrip());
    const bool inLevel = inside(release, levelStrip());
    markRectangles(release);
    if (m_currentBox.x1 == m_currentBox.x2 && m_currentBox.y1 == m_currentBox.y2)
        return;
    if (!(inPlot || inTime || inLevel))
        return;
    zoomToBox();
    m_modeBefore = m_modeAtLastZoom;
    if (m_zoomCount <= 2)
        itmZoomPreviousWindow->setEnabled(true);
    else
        tooManySteps();
}

void frmGraph::markRectangles(QPoint point) {
    for (const QRectF& rect : {m_plot.plotRect(), timeStrip(), levelStrip()}) {
        if (inside(point, rect))
            m_canvas->addMarks(marksOf(rect));
    }
}

void frmGraph::tooManySteps() {
    Messages::show(this, Messages::kTitle, kTwoSteps, QMessageBox::NoIcon);
    m_zoomCount = 0;
    itmZoomPreviousWindow->setEnabled(false);
}

void frmGraph::mouseDoubleClicked() {
    if (!m_data.hasData())
        return;
    if (inside(m_anchor, m_plot.plotRect()))
        selectData();
    else if (inside(m_anchor, timeStrip()))
        editXAxis();
    else if (inside(m_anchor, levelStrip()))
        editYAxis();
}

void frmGraph::boxTick() {
    if (m_boxColour == QColor(Qt::red))
        m_boxColour = Qt::green;
    else if (m_boxColour == QColor(Qt::green))
        m_boxColour = Qt::blue;
    else
        m_boxColour = Qt::red;
    m_canvas->showBox(
        QRectF(QPointF(m_currentBox.x1, m_currentBox.y1), QPointF(m_currentBox.x2, m_currentBox.y2))
            .toRect(),
        m_boxColour);
}

frmGraph::ZoomRange frmGraph::rangeOf(const Box& box) const {
    return {xToTime(m_plot, box.x1), xToTime(m_plot, box.x2), yToLevel(m_plot, box.y2),
            yToLevel(m_plot, box.y1)};
}

void frmGraph::zoomTo(const ZoomRange& range) {
    showPaging(false);
    LevelAxis& level = m_plot.levelAxis;
    level.autoMin = level.autoMax = false;
    level.autoMajor = level.autoMinor = true;
    level.min = float(range.low);
    level.max = float(range.high);
    TimeAxis& time = m_plot.timeAxis;
    time.mode = ViewWindow::kBetween;
    time.start = range.start;
    time.end = range.end;
    m_modeAtLastZoom = ViewWindow::kBetween;
    AdjustXObjects();
}

void frmGraph::zoomToBox() {
    rubberBand(false);
    zoomTo(rangeOf(m_currentBox));
    if (m_currentBox.x2 != m_currentBox.x1 && m_currentBox.y2 != m_currentBox.y1)
        itmZoomPreviousWindow->setEnabled(true);
}

void frmGraph::zoomAll() {
    showAllData();
    AdjustXObjects();
}

void frmGraph::showAllData() {
    rubberBand(false);
    if (m_modeBefore != 0 && m_zoomCount == 1) {
        m_olderZoom = m_newerZoom;
        itmZoomPreviousWindow->setEnabled(true);
    }
    if (m_zoomCount >= 2 && !m_goingBack)
        tooManySteps();
    showPaging(false);
    LevelAxis& level = m_plot.levelAxis;
    level.autoMin = level.autoMax = level.autoMajor = level.autoMinor = true;
    m_plot.timeAxis.mode = ViewWindow::kAllData;
    m_modeAtLastZoom = 0;
}

void frmGraph::previousWindow() {
    if (m_olderZoom && m_modeBefore != 0) {
        m_goingBack = true;
        // Straight to the older box, drawn once.
        showAllData();
        zoomTo(*m_olderZoom);
        rubberBand(false);
    } else {
        zoomAll();
    }
    itmZoomPreviousWindow->setEnabled(false);
    m_zoomCount = 0;
    m_goingBack = false;
    m_newerZoom.reset();
    m_olderZoom.reset();
    m_modeAtLastZoom = 0;
}

void frmGraph::nextPage() {
    m_plot.timeAxis.first = m_plot.timeAxis.last + 1;
    rubberBand(false);
    AdjustXObjects();
}

void frmGraph::previousPage() {
    m_plot.timeAxis.first = m_plot.timeAxis.first - 1;
    rubberBand(false);
    AdjustXObjects();
}

void frmGraph::selectData() {
    BusyPeriod busy(*this);
    rubberBand(false);
    if (!m_dataSetDialog)
        m_dataSetDialog = new frmDataSet(this);
    if (m_dataSetDialog->edit(m_data.sets))
        redraw();
}

void frmGraph::editXAxis() {
    BusyPeriod busy(*this);
    rubberBand(false);
    if (!m_xAxisDialog)
        m_xAxisDialog = new frmXAxis(m_locale, this);
    if (m_xAxisDialog->edit(m_plot.timeAxis))
        AdjustXObjects();
}

void frmGraph::editYAxis() {
    BusyPeriod busy(*this);
    rubberBand(false);
    if (!m_yAxisDialog)
        m_yAxisDialog = new frmYAxis(m_locale, this);
    if (m_yAxisDialog->edit(m_plot.levelAxis))
        redraw();
}
