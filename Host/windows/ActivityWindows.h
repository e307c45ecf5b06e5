#pragma once

#include "frmMain.h"

// Creates every activity window, owned by the main window, registers their
// requests and gives the main window the means to open them. Each load is
// announced through step, the start-up progress window's.
void CreateActivityWindows(frmMain& mainWindow, const frmMain::LoadStep& step = {});
