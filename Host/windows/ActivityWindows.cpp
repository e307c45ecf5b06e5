#include "ActivityWindows.h"

#include "DownloadForm.h"
#include "RequestQueue.h"
#include "WindowPlacement.h"
#include "frmClock.h"
#include "frmMain.h"
#include "frmSettings.h"

void CreateActivityWindows(frmMain& mainWindow, const frmMain::LoadStep& step) {
    const auto announce = [&step](const QString& text, int percent) {
        if (step)
            step(text, percent);
    };
    auto* download = new DownloadForm(&mainWindow);
    announce("Loading set clock window...", 12);
    auto* clock = new frmClock(&mainWindow);
    announce("Loading parameter window...", 36);
    auto* parameters = new frmSettings(&mainWindow);
    frmMain::Activities activities;
    activities.updateBuffers = [download] { download->update_buffers(); };
    activities.openClock = [clock, &mainWindow] {
        clock->InitialiseOjects(mainWindow.loggerClock());
        PlaceCentred(clock, &mainWindow);
        ParkWindow([clock] { clock->show(); });
    };
    activities.refreshCurrentSettings = [parameters] { parameters->reloadCurrentSet(); };
    mainWindow.setActivities(activities);
}
