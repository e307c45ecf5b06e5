#pragma once

#include "Axes.h"
#include "GraphData.h"
#include "GraphOutput.h"
#include "NoiseIndicators.h"

#include <QLocale>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class GraphCanvas;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class frmData;
class frmDataSet;
class QPrinter;
class frmHeader;
class frmIndicators;
class frmXAxis;
class frmYAxis;
class frmHelp;
class frmProgress;

// "Orv - Data Viewing Utility": the viewer window. It opens a data file, shows
// its levels against time and its header, zooms with a dragged box, pages by
// day or hour, reads out the time and level under the pointer, edits the axes
// and the data sets' lines, and closes the file. The window tells its
// owner when it is inside a modal or long operation (ModalStart / ModalStop, in
// pairs on every path) and when it has closed (GraphClosed, the last thing it
// does).
class frmGraph : public QMainWindow {
    Q_OBJECT
public:
    // Where the name of the file to open comes from: by default the open
    // dialog; the folder to start in is given. An empty name means cancel.
    using OpenFileSource = std::function<QString(QWidget* parent, const QString& folder)>;

    explicit frmGraph(QWidget* parent = nullptr);
    ~frmGraph() override;

    void setOpenFileSource(OpenFileSource source);
    // Where the printer is chosen: by default the print dialog.
    void setPrintDialogSource(PrintDialogSource source);

    const GraphData& graphData() const { return m_data; }
    const PlotArea& plotArea() const { return m_plot; }
    const QPixmap& picture() const;
    frmProgress* progressWindow() const { return m_progress; }
    frmHeader* headerWindow() const { return m_header; }
    frmHelp* helpWindow() const { return m_help; }
    frmIndicators* indicatorsWindow() const { return m_indicators; }

    // Shown again, in front, and no longer minimised.
    void display();

    // The menu operations.
    void openFile();
    void closeFile();
    void printGraph();
    void viewData();
    void copyGraph();
    void viewHeader();
    void viewIndicators();
    void showHelp(int context);
    void selectData();
    void editXAxis();
    void editYAxis();
    void zoomAll();
    void previousWindow();
    void nextPage();
    void previousPage();

    // Computes the view window, sets the paging buttons and redraws.
    void AdjustXObjects();
    void enableMenus(bool enabled);
    void showPaging(bool visible);
    void rubberBand(bool enabled);

signals:
    void GraphClosed();
    void ModalStart();
    void ModalStop();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Raises ModalStart now and ModalStop when it goes out of scope.
    class BusyPeriod {
    public:
        explicit BusyPeriod(frmGraph& window);
        ~BusyPeriod();
        BusyPeriod(const BusyPeriod&) = delete;
        BusyPeriod& operator=(const BusyPeriod&) = delete;

    private:
        frmGraph& m_window;
    };

    // A zoom box in the canvas's units, x1 < x2 and y1 < y2.
    struct Box {
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    };
    // The view a box zoomed to: times and levels, which stay true after a
    // resize and whatever view the box was drawn on.
    struct ZoomRange {
        double start = 0, end = 0;
        double low = 0, high = 0;
    };

    void mousePressed(QPoint point, Qt::MouseButton button);
    void mouseMoved(QPoint point);
    void mouseReleased(QPoint point, Qt::MouseButton button);
    void mouseDoubleClicked();
    void boxTick();
    void zoomToBox();
    // Zoom All without the redraw.
    void showAllData();
    // The times between a box's edges and the levels from its bottom to its top,
    // in the current view.
    ZoomRange rangeOf(const Box& box) const;
    // Shows a range: the level axis fixed to it, the time axis between its times.
    void zoomTo(const ZoomRange& range);
    void markRectangles(QPoint point);
    void showCursorReadout(QPoint point);
    void tooManySteps();
    void clearZoomHistory();
    QRectF timeStrip() const;
    QRectF levelStrip() const;

    void buildMenus();
    void buildControls();
    void applyStoredPlacement();
    void savePlacement();
    void layoutControls();
    void redraw();
    void clearGraph();
    void showData(const QString& fileName);
    void showNoData();
    void refreshHeaderWindow();
    void refreshIndicatorsWindow();
    // What the graph shows: every record in all data, else the axis's times.
    SerialRange shownRange() const;

    GraphData m_data;
    QString m_path; // of the open file
    PlotArea m_plot;
    // Files are read and labelled in the regional formats they were written in.
    const QLocale m_locale = QLocale::system();
    OpenFileSource m_openFileSource;
    PrintDialogSource m_printDialogSource;

    GraphCanvas* m_canvas = nullptr;
    frmProgress* m_progress = nullptr;
    frmHeader* m_header = nullptr;
    frmHelp* m_help = nullptr;
    frmIndicators* m_indicators = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuGraph = nullptr;
    QMenu* mnuZoom = nullptr;
    QMenu* mnuView = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* itmReadFile = nullptr;
    QAction* itmCloseFile = nullptr;
    QAction* itmViewData = nullptr;
    QAction* itmViewHeader = nullptr;
    QAction* itmViewIndicators = nullptr;
    QAction* itmPrintGraph = nullptr;
    QAction* itmExit = nullptr;
    QAction* itmSelectData = nullptr;
    QAction* itmEditXAxis = nullptr;
    QAction* itmEditYAxis = nullptr;
    QAction* itmZoomAll = nullptr;
    QAction* itmZoomPreviousWindow = nullptr;
    QAction* itmHelpContents = nullptr;
    QAction* itmHelpSearch = nullptr;
    QPushButton* cmdPrevious = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* lblFileName = nullptr;
    QLabel* lblCursor = nullptr;
    QLabel* Label1 = nullptr;
    QTimer* tmrBox = nullptr;

    frmXAxis* m_xAxisDialog = nullptr;
    frmYAxis* m_yAxisDialog = nullptr;
    frmDataSet* m_dataSetDialog = nullptr;
    frmData* m_table = nullptr;
    // Keeps the operator's printer and its settings from one print to the next.
    std::unique_ptr<QPrinter> m_printer;

    // Zoom state: the box being dragged and the views of the last two zoomed to.
    QPoint m_anchor;
    Box m_currentBox;
    std::optional<ZoomRange> m_newerZoom;
    std::optional<ZoomRange> m_olderZoom;
    int m_zoomCount = 0;
    int m_modeAtLastZoom = 0;
    int m_modeBefore = 0;
    bool m_goingBack = false;
    bool m_dragging = false;
    QColor m_boxColour = Qt::red;
};
