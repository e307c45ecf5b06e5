#pragma once

#include "Axes.h"
#include "GraphData.h"

#include <QLocale>
#include <QMainWindow>

#include <functional>

class GraphCanvas;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class frmHeader;
class frmHelp;
class frmProgress;

// "Orv - Data Viewing Utility": the viewer window. It opens a data file, shows
// its levels against time and its header, and closes it. The window tells its
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

    void setOpenFileSource(OpenFileSource source);

    const GraphData& graphData() const { return m_data; }
    const PlotArea& plotArea() const { return m_plot; }
    const QPixmap& picture() const;
    frmProgress* progressWindow() const { return m_progress; }
    frmHeader* headerWindow() const { return m_header; }
    frmHelp* helpWindow() const { return m_help; }

    // Shown again, in front, and no longer minimised.
    void display();

    // The menu operations.
    void openFile();
    void closeFile();
    void viewHeader();
    void showHelp(int context);

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

    GraphData m_data;
    PlotArea m_plot;
    // Files are read and labelled in the regional formats they were written in.
    const QLocale m_locale = QLocale::system();
    OpenFileSource m_openFileSource;

    GraphCanvas* m_canvas = nullptr;
    frmProgress* m_progress = nullptr;
    frmHeader* m_header = nullptr;
    frmHelp* m_help = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuGraph = nullptr;
    QMenu* mnuZoom = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* itmReadFile = nullptr;
    QAction* itmCloseFile = nullptr;
    QAction* itmViewData = nullptr;
    QAction* itmViewHeader = nullptr;
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
};
