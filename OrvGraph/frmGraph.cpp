#include "frmGraph.h"

#include "DataFileReader.h"
#include "GraphCanvas.h"
#include "GraphPainter.h"
#include "Messages.h"
#include "OpenFileDialog.h"
#include "Twips.h"
#include "ViewerSettings.h"
#include "WaitCursor.h"
#include "frmHeader.h"
#include "frmHelp.h"
#include "frmProgress.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
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
    : QMainWindow(parent), m_openFileSource(&OpenFileDialog::getFileName) {
    setObjectName(QStringLiteral("frmGraph"));
    setWindowTitle(QStringLiteral("Orv - Data Viewing Utility"));
    setMinimumSize(Twips::toPixels(kMinimumSize));
    m_canvas = new GraphCanvas(this);
    m_canvas->setObjectName(QStringLiteral("pbxGraph"));
    setCentralWidget(m_canvas);
    m_progress = new frmProgress(this);
    m_header = new frmHeader(this);
    m_help = new frmHelp(this);
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

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    itmHelpContents =
        addItem(mnuHelp, QStringLiteral("itmHelpContents"), QStringLiteral("&Contents"));
    itmHelpSearch = addItem(mnuHelp, QStringLiteral("itmHelpSearch"), QStringLiteral("&Search"));

    connect(itmReadFile, &QAction::triggered, this, &frmGraph::openFile);
    connect(itmCloseFile, &QAction::triggered, this, &frmGraph::closeFile);
    connect(itmViewHeader, &QAction::triggered, this, &frmGraph::viewHeader);
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
    Command1 = new QPushButton(QStringLiteral("Copy"), m_canvas);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->hide();
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
}

void frmGraph::setOpenFileSource(OpenFileSource source) {
    m_openFileSource = std::move(source);
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
    m_canvas->clear();
}

void frmGraph::AdjustXObjects() {
    // Mode 0 (all data) is the one view so far; paging applies to the day and
    // hour modes only.
    viewAllData(m_plot.timeAxis, m_data);
    showPaging(false);
    redraw();
}

void frmGraph::enableMenus(bool enabled) {
    mnuGraph->menuAction()->setEnabled(enabled);
    mnuZoom->menuAction()->setEnabled(enabled);
    itmCloseFile->setEnabled(enabled);
    itmPrintGraph->setEnabled(enabled);
    itmViewData->setEnabled(enabled);
    itmViewHeader->setEnabled(enabled);
}

void frmGraph::showPaging(bool visible) {
    cmdNext->setVisible(visible);
    cmdPrevious->setVisible(visible);
}

void frmGraph::rubberBand(bool enabled) {
    if (enabled)
        tmrBox->start();
    else
        tmrBox->stop();
}

void frmGraph::openFile() {
    BusyPeriod busy(*this);
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
    m_plot.timeAxis.mode = 0;
    refreshHeaderWindow();
    AdjustXObjects();
}

void frmGraph::showNoData() {
    enableMenus(false);
    lblCursor->hide();
    lblFileName->hide();
    clearGraph();
    refreshHeaderWindow();
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
    clearGraph();
    lblCursor->hide();
    lblFileName->hide();
    showPaging(false);
    enableMenus(false);
    refreshHeaderWindow();
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

void frmGraph::showHelp(int context) {
    m_help->showContext(context);
}

void frmGraph::closeEvent(QCloseEvent* event) {
    { BusyPeriod closing(*this); }
    savePlacement();
    m_header->hide();
    m_help->hide();
    m_progress->hide();
    event->accept();
    // The owner may release this window's object in its handler: nothing here
    // touches the window after this.
    emit GraphClosed();
}
