#pragma once

class frmMain;

// Creates every activity window, owned by the main window, registers their
// requests and gives the main window the means to open them.
void CreateActivityWindows(frmMain& mainWindow);
