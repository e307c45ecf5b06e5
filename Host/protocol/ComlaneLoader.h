#pragma once

#include "OrvCommsInterface.h"

#include <QString>
#include <memory>

// Creates an OrvComms object from the Comlane plugin in the program's own
// folder. Returns null with a reason when the plugin is missing or broken.
std::unique_ptr<OrvCommsInterface> CreateOrvComms(QString* error = nullptr);
