#pragma once

#include "ParameterSet.h"

// Logger memory used per second of logging, in bytes: one 34-byte block per
// statistical interval, plus, when the short-term Leq is recorded throughout
// (option 1), one block per twelve Leq periods. 0 for an interval or Leq
// length that cannot be right (zero or negative), so callers can skip an
// estimate instead of dividing by zero.
double MemoryRateOf(int intervalMinutes, int leqOption, int leqLengthSeconds);
double MemoryRate(const ParameterSet& set);
