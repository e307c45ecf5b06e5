#include "ActivityWindows.h"

#include "DownloadForm.h"
#include "RequestQueue.h"
#include "WindowPlacement.h"
#include "frmClock.h"
#include "frmMain.h"
#include "frmSettings.h"

void CreateActivityWindows(frmMain& mainWindow) {
    auto* download = new DownloadForm(&mainWindow);
    auto* clock = new frmClock(&mainWindow);
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
