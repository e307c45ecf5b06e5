#pragma once

#include "frmMain.h"

class InitForm;

// Creates every activity window, owned by the main window, registers their
// requests and gives the main window the means to open them. Each load is
// announced through step, the start-up progress window's.
void CreateActivityWindows(frmMain& mainWindow, const frmMain::LoadStep& step = {});

// Gives the control panel the factory window's activities: opening it, and the
// raw level each poll reads while its display is on.
void ProvideFactoryTools(frmMain& mainWindow, frmMain::Activities& activities, InitForm* form);
