#include "frmMain.h"

#include "CommandRequests.h"
#include "FillPanel.h"
#include "GraphLauncher.h"
#include "Link.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "StatusPollTimer.h"
#include "frmLink.h"
#include "frmMessage.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

frmMain::frmMain(const QStringList& arguments, WindowLoader loadActivities, QWidget* parent)
    : QMainWindow(parent) {
    m_session.startUnlinked();
    setObjectName("frmMain");
    SPLTimer.setObjectName("SPLTimer");
    buildDisplays();
    buildButtons();
    buildMenus();
    m_linkWindow = new frmLink(this);
    m_graph = new GraphLauncher(this);

    connect(&SPLTimer, &QTimer::timeout, this, [] {
        // A modal window with a poll timer of its own runs the poll instead.
        const QWidget* modal = QApplication::activeModalWidget();
        if (QueueIsEmpty() && !(modal && modal->findChild<StatusPollTimer*>()))
            PostRequest(Request::StatusPoll);
    });
    connect(cmdLink, &QPushButton::clicked, this, &frmMain::main_link_handler);
    connect(LoggingButton, &QPushButton::clicked, this,
            [] { PostRequest(Request::LoggingButton); });
    connect(DownloadButton, &QPushButton::clicked, this,
            [] { PostRequest(Request::ShowDownload); });
    connect(DetailsButton, &QPushButton::clicked, this, [] { PostRequest(Request::ShowDetails); });
    connect(ViewLastButton, &QPushButton::clicked, this,
            [] { PostRequest(Request::ViewLastResults); });
    connect(CalibrateButton, &QPushButton::clicked, this, [this] {
        if (m_activities.openCalibration)
            m_activities.openCalibration();
    });
    connect(InitButton, &QPushButton::clicked, this, [this] {
        if (m_activities.openFactory)
            m_activities.openFactory();
    });
    connect(ResetPeakHoldButton, &QPushButton::clicked, this, [this] { m_peakLevel = 0; });
    connect(OverloadIndicatio, &QPushButton::clicked, this,
            [] { PostRequest(Request::ClearOverload); });
    connect(GraphButton, &QPushButton::clicked, this, [this] {
        if (!m_graph->exists())
            cmdLink->setEnabled(false);
        if (!m_graph->launch())
            cmdLink->setEnabled(true);
        LinkItem->setEnabled(cmdLink->isEnabled());
    });
    connect(m_graph, &GraphLauncher::GraphBusy, this, [this] { GraphButton->setEnabled(false); });
    connect(m_graph, &GraphLauncher::GraphFree, this, [this] { GraphButton->setEnabled(true); });
    connect(m_graph, &GraphLauncher::GraphEnd, this, [this] {
        cmdLink->setEnabled(true);
        LinkItem->setEnabled(true);
    });

    RegisterCommandRequests();
    const QList<std::pair<qint16, RequestAction>> actions = {
        {Request::SetButtons, [this](qint16) { main_set_buttons(); }},
        {Request::StatusPoll, [this](qint16) { main_update(); }},
        {Request::GetInfo, [this](qint16) { main_get_info(); }},
        {Request::Unlink, [this](qint16) { main_unlink(); }},
        {Request::LoggingButton, [this](qint16) { main_logging_handler(); }},
        {Request::GetStatus, [this](qint16) { main_get_status(); }},
        {Request::UnlinkHandler, [this](qint16) { main_unlink_handler(); }},
        {Request::ViewLastResults, [this](qint16) { ViewLastResults(); }},
        {Request::ChangeBaudRate, [this](qint16 rate) { changeLinkBaud(quint16(rate)); }},
        {Request::SetPowerDown, [this](qint16 enable) { SetPowerDown(enable != 0); }},
        {Request::ClearOverload, [this](qint16) { clearOverload(); }},
    };
    for (const auto& [code, action] : actions) {
        RegisterRequest(code, action);
        m_requestCodes << code;
    }
    SetLinkWindows({[this](qint16 port) { disablePortEntry(port); },
                    [this](const QString& device, qint16 error) { portNotOpened(device, error); },
                    [this] { return runModemWindow(); }, [this] { return runLinkWindow(); }});
    SetMessageWindowContext(this, &SPLTimer, [this] { main_update(); });

    startUp(arguments, loadActivities);
}

frmMain::~frmMain() {
    // The queue outlives this window: leave no action pointing at it.
    for (qint16 code : std::as_const(m_requestCodes))
        RegisterRequest(code, nullptr);
    SetLinkWindows({});
    SetMessageWindowContext(nullptr, nullptr, nullptr);
}

void frmMain::registerChildWindow(QWidget* window) {
    m_childWindows << window;
}

void frmMain::hide_child_forms() {
    for (QWidget* window : std::as_const(m_childWindows))
        window->hide();
}

void frmMain::EnableInterface(bool enable) {
    for (QMenu* menu : {LoggerMenu, SetupMenu, mnuParameters, mnuOptions, mnuHelp})
        menu->menuAction()->setEnabled(enable);
    ParametersItem->setEnabled(enable && RequestIsRegistered(Request::OpenParameters));
    // The link is not touched while the graph viewer is open.
    cmdLink->setEnabled(enable && !m_graph->exists());
    LinkItem->setEnabled(cmdLink->isEnabled());
    ClockFrame->setEnabled(enable && m_activities.openClock);
    SetDateItem->setEnabled(ClockFrame->isEnabled());
    TemperatureFrame->setEnabled(enable && m_activities.calibrateTemperature);
    TemperatureItem->setEnabled(TemperatureFrame->isEnabled());
    main_enable(enable);
}

void frmMain::setActivities(Activities activities) {
    m_activities = std::move(activities);
    EnableInterface(LoggerMenu->menuAction()->isEnabled());
}

void frmMain::logging_enable(bool enable) {
    const bool provided =
        (m_session.mode & 3) ? bool(m_activities.stopLogging) : bool(m_activities.openLogging);
    const bool on = enable && m_session.linked && provided;
    LoggingButton->setEnabled(on);
    LoggingItem->setEnabled(on);
}

void frmMain::download_enable(bool enable) {
    const bool on = enable && m_session.linked && RequestIsRegistered(Request::ShowDownload);
    DownloadButton->setEnabled(on);
    DownloadItem->setEnabled(on);
    DumpAllItem->setEnabled(on && m_session.method != 2 && RequestIsRegistered(Request::DumpAll));
}

void frmMain::main_enable(bool enable) {
    const bool linkedAndOn = enable && m_session.linked;
    logging_enable(enable);
    download_enable(enable);
    for (QPushButton* button : FreqWeightingButton + TimeWeightingButton)
        button->setEnabled(linkedAndOn);
    for (QAction* item : FrequencyWeightingItem + TimeAveragingItem)
        item->setEnabled(linkedAndOn);
    const bool calibrate =
        linkedAndOn && m_session.method != 2 && m_session.mode == 0 && m_activities.openCalibration;
    CalibrateButton->setEnabled(calibrate);
    CalibrationItem->setEnabled(calibrate);
    DetailsButton->setEnabled(linkedAndOn && m_session.mode != 0 &&
                              RequestIsRegistered(Request::ShowDetails));
    ViewLastButton->setEnabled(linkedAndOn && m_session.mode != 0 && m_activities.showLastResults);
    InitButton->setVisible(m_factory);
    InitButton->setEnabled(m_factory && linkedAndOn && m_activities.openFactory);
    for (QAction* item : {PowerDownItem, UpdateStatusItem})
        item->setEnabled(linkedAndOn);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const bool pressed = event->type() == QEvent::MouseButtonRelease ||
                         (event->type() == QEvent::KeyPress &&
                          static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space);
    if (pressed && watched == ClockFrame)
        clockClicked();
    else if (pressed && watched == TemperatureFrame)
        temperatureClicked();
    return QMainWindow::eventFilter(watched, event);
}
