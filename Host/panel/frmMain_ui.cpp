// The control panel's controls, each with its name and caption.
#include "Confirmation.h"
#include "FillPanel.h"
#include "LevelMeter.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "frmAbout.h"
#include "frmMain.h"

#include <QActionGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* NamedLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

QPushButton* NamedButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

// A display box that the operator can also click (the clock, the temperature).
QFrame* ClickableFrame(const QString& name, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setCursor(Qt::PointingHandCursor);
    frame->setFocusPolicy(Qt::StrongFocus); // reachable by Tab, opened with Space
    return frame;
}

} // namespace

void frmMain::buildDisplays() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);

    auto* level = new QGroupBox("Sound Level", central);
    auto* levelLayout = new QGridLayout(level);
    boxSPL = NamedLabel("boxSPL", level);
    QFont big = boxSPL->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    boxSPL->setFont(big);
    boxSPL->setMinimumWidth(90);
    boxSPL->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblUnits = NamedLabel("lblUnits", level);
    Image1 = new LevelMeter(level);
    Image1->setObjectName("Image1");
    OverloadIndicatio = NamedButton("OverloadIndicatio", QString(), level);
    // Its name is what it shows ("Reset" during an overload).
    OverloadIndicatio->setAccessibleDescription("Overload indication: press to clear");
    lblOverload = NamedLabel("lblOverload", level);
    ResetPeakHoldButton = NamedButton("ResetPeakHoldButton", "Reset &Peak", level);
    ResetPeakHoldButton->hide();
    levelLayout->addWidget(boxSPL, 0, 0);
    levelLayout->addWidget(lblUnits, 0, 1);
    levelLayout->addWidget(Image1, 0, 2, 1, 3);
    levelLayout->addWidget(OverloadIndicatio, 1, 0);
    levelLayout->addWidget(lblOverload, 1, 1);
    levelLayout->addWidget(ResetPeakHoldButton, 1, 4);
    layout->addWidget(level);

    auto* status = new QGroupBox("Logger Status", central);
    auto* grid = new QGridLayout(status);
    ClockFrame = ClickableFrame("ClockFrame", status);
    ClockFrame->setAccessibleName("Clock");
    DateBox = NamedLabel("DateBox", ClockFrame);
    (new QHBoxLayout(ClockFrame))->addWidget(DateBox);
    TemperatureFrame = ClickableFrame("TemperatureFrame", status);
    TemperatureFrame->setAccessibleName("Temperature");
    TemperatureBox = NamedLabel("TemperatureBox", TemperatureFrame);
    DegreesLabel = NamedLabel("DegreesLabel", TemperatureFrame);
    auto* temperatureLayout = new QHBoxLayout(TemperatureFrame);
    temperatureLayout->addWidget(TemperatureBox);
    temperatureLayout->addWidget(DegreesLabel);
    temperatureLayout->addStretch();
    ModeBox = NamedLabel("ModeBox", status);
    SerialNumberBox = NamedLabel("SerialNumberBox", status);
    BatteryPanel = new FillPanel(status);
    BatteryPanel->setObjectName("BatteryPanel");
    MemoryPanel = new FillPanel(status);
    MemoryPanel->setObjectName("MemoryPanel");
    lblComms = NamedLabel("lblComms", status);
    const QStringList captions = {"Clock:",   "Mode:",        "Serial number:", "Temperature:",
                                  "Battery:", "Memory used:", "Communications:"};
    const QList<QWidget*> fields = {ClockFrame,   ModeBox,     SerialNumberBox, TemperatureFrame,
                                    BatteryPanel, MemoryPanel, lblComms};
    for (int row = 0; row < fields.size(); ++row) {
        auto* caption = new QLabel(captions[row], status);
        caption->setBuddy(fields[row]);
        grid->addWidget(caption, row, 0);
        grid->addWidget(fields[row], row, 1);
    }
    layout->addWidget(status);

    ClockFrame->installEventFilter(this);
    TemperatureFrame->installEventFilter(this);
}

void frmMain::buildButtons() {
    QWidget* central = centralWidget();
    auto* weightings = new QGroupBox("Weightings", central);
    auto* weightingLayout = new QHBoxLayout(weightings);
    const QStringList frequency = {"C", "A"};
    const QStringList time = {"F", "S"};
    for (qint16 i = 0; i < 2; ++i) {
        auto* f = NamedButton(QString("FreqWeightingButton%1").arg(i), frequency[i], weightings);
        f->setAccessibleDescription("Frequency weighting " + frequency[i]);
        f->setCheckable(true);
        connect(f, &QPushButton::clicked, this, [this, i] { frequencyButton(i); });
        FreqWeightingButton << f;
        weightingLayout->addWidget(f);
    }
    weightingLayout->addSpacing(16);
    for (qint16 i = 0; i < 2; ++i) {
        auto* t = NamedButton(QString("TimeWeightingButton%1").arg(i), time[i], weightings);
        t->setAccessibleDescription("Time weighting " + time[i]);
        t->setCheckable(true);
        connect(t, &QPushButton::clicked, this, [this, i] { timeButton(i); });
        TimeWeightingButton << t;
        weightingLayout->addWidget(t);
    }
    centralWidget()->layout()->addWidget(weightings);

    auto* buttons = new QWidget(central);
    auto* row = new QGridLayout(buttons);
    cmdLink = NamedButton("cmdLink", "Lin&k", buttons);
    LoggingButton = NamedButton("LoggingButton", "S&tart...", buttons);
    DownloadButton = NamedButton("DownloadButton", "&Download...", buttons);
    CalibrateButton = NamedButton("CalibrateButton", "&Calibrate...", buttons);
    DetailsButton = NamedButton("DetailsButton", "D&etails...", buttons);
    ViewLastButton = NamedButton("ViewLastButton", "&View Last...", buttons);
    GraphButton = NamedButton("GraphButton", "&Graph", buttons);
    InitButton = NamedButton("InitButton", "&Init", buttons);
    const QList<QPushButton*> all = {cmdLink,       LoggingButton,  DownloadButton, CalibrateButton,
                                     DetailsButton, ViewLastButton, GraphButton,    InitButton};
    for (int i = 0; i < all.size(); ++i)
        row->addWidget(all[i], i / 4, i % 4);
    centralWidget()->layout()->addWidget(buttons);
}

QAction* frmMain::addItem(QMenu* menu, const QString& name, const QString& caption,
                          std::function<void()> handler) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    connect(item, &QAction::triggered, this, std::move(handler));
    return item;
}

void frmMain::buildMenus() {
    LoggerMenu = menuBar()->addMenu("&Logger");
    LoggerMenu->setObjectName("LoggerMenu");
    LinkItem = addItem(LoggerMenu, "LinkItem", "&Link to Logger", [this] { main_link_handler(); });
    LoggingItem = addItem(LoggerMenu, "LoggingItem", "&Start Logging...",
                          [] { PostRequest(Request::LoggingButton); });
    DownloadItem = addItem(LoggerMenu, "DownloadItem", "&Download Buffers...",
                           [] { PostRequest(Request::ShowDownload); });
    DumpAllItem = addItem(LoggerMenu, "DumpAllItem", "Dump &All Memory...",
                          [] { PostRequest(Request::DumpAll); });
    LoggerMenu->addSeparator();
    SetDateItem = addItem(LoggerMenu, "SetDateItem", "Set &Clock...", [this] { clockClicked(); });
    CalibrationItem = addItem(LoggerMenu, "CalibrationItem", "Ca&librate...", [this] {
        if (m_activities.openCalibration)
            m_activities.openCalibration();
    });
    TemperatureItem = addItem(LoggerMenu, "TemperatureItem", "Calibrate &Temperature...",
                              [this] { temperatureClicked(); });
    PowerDownItem = addItem(LoggerMenu, "PowerDownItem", "Disable &Power Down", [this] {
        PostRequest(Request::SetPowerDown, PowerDownItem->text() == "Enable &Power Down" ? 1 : 0);
    });
    ResetLoggerItem =
        addItem(LoggerMenu, "ResetLoggerItem", "&Reset Logger...", [this] { resetLogger(); });
    UpdateStatusItem = addItem(LoggerMenu, "UpdateStatusItem", "Update Stat&us", [] {
        PostRequest(Request::GetInfo);
        PostRequest(Request::SetButtons);
    });
    LoggerMenu->addSeparator();
    ExitItem = addItem(LoggerMenu, "ExitItem", "E&xit", [this] { close(); });

    SetupMenu = menuBar()->addMenu("&Setup");
    SetupMenu->setObjectName("SetupMenu");
    QMenu* frequency = SetupMenu->addMenu("&Frequency Weighting");
    const QStringList frequencyCaptions = {"&C", "&A"};
    for (qint16 i = 0; i < 2; ++i) {
        FrequencyWeightingItem << addItem(frequency, QString("FrequencyWeightingItem%1").arg(i),
                                          frequencyCaptions[i], [this, i] { frequencyButton(i); });
        FrequencyWeightingItem.last()->setCheckable(true);
    }
    QMenu* time = SetupMenu->addMenu("&Time Weighting");
    const QStringList timeCaptions = {"&Fast", "&Slow"};
    for (qint16 i = 0; i < 2; ++i) {
        TimeAveragingItem << addItem(time, QString("TimeAveragingItem%1").arg(i), timeCaptions[i],
                                     [this, i] { timeButton(i); });
        TimeAveragingItem.last()->setCheckable(true);
    }
    QMenu* rates = SetupMenu->addMenu("&Update Rate");
    for (qint16 rate : {1, 2, 4, 8}) {
        QAction* item =
            addItem(rates, QString("UpdateRateItem%1").arg(rate),
                    QString("&%1 per second").arg(rate), [this, rate] { updateRateChosen(rate); });
        item->setCheckable(true);
        UpdateRateItem.insert(rate, item);
    }
    PeakHoldItem = addItem(SetupMenu, "PeakHoldItem", "&Peak Hold", [this] { peakHoldToggled(); });
    PeakHoldItem->setCheckable(true);

    mnuParameters = menuBar()->addMenu("&Parameters");
    mnuParameters->setObjectName("mnuParameters");
    ParametersItem = addItem(mnuParameters, "ParametersItem", "Parameter &Settings...",
                             [] { PostRequest(Request::OpenParameters); });

    mnuOptions = menuBar()->addMenu("&Options");
    mnuOptions->setObjectName("mnuOptions");
    QMenu* ports = mnuOptions->addMenu("Communications &Port");
    for (qint16 port = 1; port <= 4; ++port) {
        QAction* item = addItem(ports, QString("ComPortItem%1").arg(port), QString(),
                                [this, port] { choosePort(port); });
        item->setCheckable(true);
        ComPortItem.insert(port, item);
    }
    QMenu* bauds = mnuOptions->addMenu("&Baud Rate");
    for (int index : {1, 2, 4, 8, 16}) {
        const qint32 baud = 19200 / index;
        QAction* item = addItem(bauds, QString("BaudRateItem%1").arg(index), QString::number(baud),
                                [this, baud] { chooseBaud(baud); });
        item->setCheckable(true);
        BaudRateItem.insert(baud, item);
    }
    QMenu* methods = mnuOptions->addMenu("Link &Method");
    const QStringList methodCaptions = {"&Direct Cable", "&Modem"};
    for (qint16 method = 1; method <= 2; ++method) {
        QAction* item =
            addItem(methods, QString("CommMethodItem%1").arg(method), methodCaptions[method - 1],
                    [this, method] { chooseMethod(method); });
        item->setCheckable(true);
        CommMethodItem.insert(method, item);
    }
    DeviceItem = addItem(mnuOptions, "DeviceItem", "Port &Devices...", [this] { chooseDevice(); });
    mnuOptions->addSeparator();
    ConfirmationItem = addItem(mnuOptions, "ConfirmationItem", "&Confirmation...", [] {
        ConfirmationDialog().set_objects();
        ConfirmationDialog().exec();
    });

    mnuHelp = menuBar()->addMenu("&Help");
    mnuHelp->setObjectName("mnuHelp");
    mnuHelpContents = addItem(mnuHelp, "mnuHelpContents", "&Contents", [this] { showHelp(); });
    mnuHelpContents->setShortcut(QKeySequence::HelpContents);
    mnuHelpAbout = addItem(mnuHelp, "mnuHelpAbout", "&About...", [this] { m_about->show(); });
}
