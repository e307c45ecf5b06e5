#pragma once

#include "OrvCommsInterface.h"

#include <QString>
#include <memory>

// Creates an OrvComms object from the Comlane plugin in the program's own
// folder. Returns null with a reason when the plugin is missing or broken.
std::unique_ptr<OrvCommsInterface> CreateOrvComms(QString* error = nullptr);

// The program's one OrvComms object, created on first use and kept for the
// run. Null when the plugin cannot be loaded; every exchange then fails.
OrvCommsInterface* CommsLink();
// Why CommsLink() is null; empty when it is not.
QString CommsLoadError();
