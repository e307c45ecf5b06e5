#pragma once

// Shows the protocol layer's notices to the operator: message-window notices
// through ShowMessage, questions (Retry, Cancel) and the rest in a platform
// message box. Installed once at start-up.
void InstallPanelNotices();
