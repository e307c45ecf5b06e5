#include "ActivityWindows.h"

#include "DownloadForm.h"
#include "InitForm.h"
#include "LoggerSession.h"
#include "LoggingForm.h"
#include "RequestQueue.h"
#include "SysCalForm.h"
#include "WindowPlacement.h"
#include "frmClock.h"
#include "frmDetails.h"
#include "frmMain.h"
#include "frmReference.h"
#include "frmResults.h"
#include "frmSettings.h"

void ProvideFactoryTools(frmMain& mainWindow, frmMain::Activities& activities, InitForm* form) {
    activities.openFactory = [form] { form->open(); };
    activities.showRawLevel = [form](qint16 level) { form->showRawLevel(level); };
    form->rawDisplayChanged = [&mainWindow](bool on) { mainWindow.setRawLevelShown(on); };
}

void CreateActivityWindows(frmMain& mainWindow, const frmMain::LoadStep& step) {
    const auto announce = [&step](const QString& text, int percent) {
        if (step)
            step(text, percent);
    };
    auto* download = new DownloadForm(&mainWindow);
    announce("Loading set clock window...", 12);
    auto* clock = new frmClock(&mainWindow);
    announce("Loading system calibration window...", 24);
    auto* calibration = new SysCalForm(&mainWindow);
    announce("Loading parameter window...", 36);
    auto* parameters = new frmSettings(&mainWindow);
    announce("Loading logging window...", 50);
    auto* logging = new LoggingForm(&mainWindow, parameters);
    announce("Loading measurement reference window...", 62);
    auto* reference = new frmReference(&mainWindow);
    logging->setReferenceWindow(reference);
    new frmDetails(&mainWindow); // opened through its own request
    auto* results = new frmResults(&mainWindow);
    auto* factory = new InitForm(&mainWindow, download, calibration);
    logging->updateBuffers = [download] { download->update_buffers(); };
    frmMain::Activities activities;
    activities.updateBuffers = logging->updateBuffers;
    activities.openLogging = [logging, &mainWindow] {
        mainWindow.EnableInterface(false);
        logging->adjustSize();
        PlaceCentred(logging, &mainWindow);
        ParkWindow([logging] { logging->show(); });
    };
    activities.stopLogging = [logging] { logging->StopLogging(); };
    activities.openClock = [clock, &mainWindow] {
        clock->InitialiseOjects(Session().loggerClock);
        PlaceCentred(clock, &mainWindow);
        ParkWindow([clock] { clock->show(); });
    };
    activities.openCalibration = [calibration] { calibration->open(SysCalForm::SystemMode); };
    activities.calibrateTemperature = [calibration] {
        calibration->open(SysCalForm::TemperatureMode);
    };
    activities.showLastResults = [results](const QByteArray& record) {
        results->ShowResults(record);
    };
    activities.refreshCurrentSettings = [parameters] { parameters->reloadCurrentSet(); };
    ProvideFactoryTools(mainWindow, activities, factory);
    mainWindow.setActivities(activities);
}
