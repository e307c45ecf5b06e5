#pragma once

#include "SimDateTime.h"

#include <string>

// The logger's own reading of the two timers in a buffer's parameter block:
// whether it records at a given moment, and whether a one-shot run is over.
namespace sim {

// Both timers' windows are open (a timer of kind 0 is always open).
bool timersOpenAt(const std::string& record, const DateTime& at);
// The master is a one shot whose end has passed: the run is finished.
bool oneShotOverAt(const std::string& record, const DateTime& at);

} // namespace sim
