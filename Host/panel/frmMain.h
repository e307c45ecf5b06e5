#pragma once

#include "ControlPanel.h"
#include "LoggerSession.h"

#include <QMainWindow>
#include <QTimer>
#include <QVector>
#include <functional>

class FillPanel;
class LevelMeter;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class frmAbout;
class frmLink;
class frmModem;
class ProgressForm;
class GraphLauncher;

// The control panel: the program's main window. It links to the logger, polls
// its status, shows it, and starts every other activity through the request
// queue.
class frmMain : public QMainWindow, public ControlPanel {
    Q_OBJECT
public:
    // Shows one start-up step (its text and percentage) before a window loads.
    using LoadStep = std::function<void(const QString& text, int percent)>;
    // Loads the activity windows behind the start-up progress window.
    using WindowLoader = std::function<void(frmMain&, const LoadStep&)>;
    // arguments: the command line without the program name.
    explicit frmMain(const QStringList& arguments = {}, WindowLoader loadActivities = {},
                     QWidget* parent = nullptr);
    ~frmMain() override;

    QWidget* panelWindow() override { return this; }
    QTimer* statusTimer() override { return &SPLTimer; }

    // Linking (request 11 and 31 actions among them).
    void main_link_handler();
    void main_unlink_handler();
    void instant_unlink() override;
    void main_unlink();
    bool main_get_info() override;
    void main_blank();
    void main_enable(bool enable);
    void EnableInterface(bool enable) override;
    void logging_enable(bool enable);
    void download_enable(bool enable);
    void hide_child_forms();

    // Status and displays.
    void main_update() override;
    void main_set_buttons() override;
    void main_set_freq_objects(qint16 code);
    void main_set_time_objects(qint16 code);
    void main_set_logging_objects(qint16 mode) override;
    void main_get_status() override;
    void main_logging_handler();
    void SetPowerDown(bool enable) override;
    void update_configure(qint16 rate);
    void ViewLastResults();
    void main_set_comms_label();

    // Windows of later activities register here to be hidden on unlink.
    void registerChildWindow(QWidget* window) override;
    // Opens the activity windows that other parts of the program provide.
    struct Activities {
        std::function<void()> openClock;
        std::function<void()> calibrateTemperature;
        std::function<void()> openCalibration;
        std::function<void()> openLogging;
        std::function<void(const QByteArray&)> showLastResults;
        std::function<void()> stopLogging;
        std::function<void()> updateBuffers;
        // Given each poll's raw level while setRawLevelShown(true) holds.
        std::function<void(qint16)> showRawLevel;
        std::function<void()> refreshCurrentSettings;
        std::function<void()> openFactory;
    };
    // Controls of an activity that is not provided stay disabled.
    void setActivities(Activities activities);
    // The temperature display, in tenths of a degree; -100: no sensor fitted.
    void showTemperature(qint16 tenths) override;
    // The factory raw-level display: each status poll then also reads the raw level.
    void setRawLevelShown(bool shown) override { m_rawLevelShown = shown; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction (frmMain_ui.cpp).
    void buildDisplays();
    void buildButtons();
    void buildMenus();
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                     std::function<void()> handler);

    // Start-up and shut-down (frmMain_startup.cpp).
    void startUp(const QStringList& arguments, const WindowLoader& loadActivities);
    void loadWindows(const WindowLoader& loadActivities);
    void readCommsSettings();
    void storePlacement();
    void showHelp();

    // Menu and button handlers (frmMain_menus.cpp).
    void frequencyButton(qint16 index);
    void timeButton(qint16 index);
    void peakHoldToggled();
    void updateRateChosen(qint16 rate);
    void resetLogger();
    void resetUnlinkedLogger();
    void clearOverload();
    void choosePort(qint16 port);
    void chooseBaud(qint32 baud);
    void changeLinkBaud(qint32 baud);
    void chooseMethod(qint16 method);
    void chooseDevice();
    void clockClicked();
    void temperatureClicked();
    bool checkLinkedInStandby(const QString& notStandbyText);
    void setOverloadShown(bool overload);
    void setLinkCaptions(bool linked);

    // Linking helpers (frmMain_link.cpp).
    void disablePortEntry(qint16 port);
    void portNotOpened(const QString& device, qint16 error);
    void abortLinkAttempt();
    qint16 runModemWindow();
    bool runLinkWindow();
    void showLevel(qint16 level);
    void showUnits();
    void showClock(const LoggerDateTime& clock);
    void readLoggingRecord();
    QString remainingTimeText() const;

    QTimer SPLTimer;
    // The link and the logger, as this panel shows them; not the panel's own.
    LoggerSession& m_session = Session();
    bool m_modemWindowRan = false;
    bool m_closing = false;
    // Panel state.
    qint16 m_updateRate = 4;
    qint16 m_chosenRate = 4;
    qint16 m_peakLevel = 0;
    qint16 m_shownFrequency = 0; // weighting indexes on the screen
    qint16 m_shownTime = 0;
    bool m_factory = false;
    bool m_rawLevelShown = false;
    QString m_version;
    QString m_modemNumber;
    QList<QWidget*> m_childWindows;
    QList<qint16> m_invalidPorts;
    Activities m_activities;
    QList<qint16> m_requestCodes; // registered by this window

    frmLink* m_linkWindow = nullptr;
    frmModem* m_modemWindow = nullptr;
    frmAbout* m_about = nullptr;
    ProgressForm* m_progress = nullptr;
    GraphLauncher* m_graph = nullptr;

    // Displays.
    QLabel* boxSPL = nullptr;
    LevelMeter* Image1 = nullptr;
    QPushButton* OverloadIndicatio = nullptr;
    QLabel* lblOverload = nullptr;
    QLabel* SerialNumberBox = nullptr;
    QLabel* DateBox = nullptr;
    QLabel* ModeBox = nullptr;
    QLabel* TemperatureBox = nullptr;
    QLabel* DegreesLabel = nullptr;
    QFrame* TemperatureFrame = nullptr;
    QFrame* ClockFrame = nullptr;
    FillPanel* BatteryPanel = nullptr;
    FillPanel* MemoryPanel = nullptr;
    QLabel* lblUnits = nullptr;
    QLabel* lblComms = nullptr;
    // Buttons.
    QPushButton* cmdLink = nullptr;
    QPushButton* LoggingButton = nullptr;
    QPushButton* DownloadButton = nullptr;
    QPushButton* CalibrateButton = nullptr;
    QPushButton* DetailsButton = nullptr;
    QPushButton* ViewLastButton = nullptr;
    QPushButton* GraphButton = nullptr;
    QPushButton* InitButton = nullptr;
    QPushButton* ResetPeakHoldButton = nullptr;
    QVector<QPushButton*> FreqWeightingButton;
    QVector<QPushButton*> TimeWeightingButton;
    // Menus.
    QMenu* LoggerMenu = nullptr;
    QMenu* SetupMenu = nullptr;
    QMenu* mnuParameters = nullptr;
    QMenu* mnuOptions = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* LinkItem = nullptr;
    QAction* LoggingItem = nullptr;
    QAction* DownloadItem = nullptr;
    QAction* DumpAllItem = nullptr;
    QAction* SetDateItem = nullptr;
    QAction* CalibrationItem = nullptr;
    QAction* TemperatureItem = nullptr;
    QAction* PowerDownItem = nullptr;
    QAction* ResetLoggerItem = nullptr;
    QAction* UpdateStatusItem = nullptr;
    QAction* PeakHoldItem = nullptr;
    QAction* ConfirmationItem = nullptr;
    QAction* DeviceItem = nullptr;
    QAction* ExitItem = nullptr;
    QAction* ParametersItem = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QMap<qint16, QAction*> UpdateRateItem;
    QVector<QAction*> FrequencyWeightingItem;
    QVector<QAction*> TimeAveragingItem;
    QMap<qint16, QAction*> ComPortItem;
    QMap<qint32, QAction*> BaudRateItem;
    QMap<qint16, QAction*> CommMethodItem;
};
