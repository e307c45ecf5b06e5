#pragma once

#include "ReportOptions.h"

// Reads each file, writes its report (text or a JSON line) on standard output
// and each file it cannot read as one line on standard error, and gives the
// exit code: FileError when any file could not be read, the others reported.
int runReport(const ReportOptions& options);
