#pragma once

#include "IndicatorsReport.h"

#include <QByteArray>

// One file's report as one line of JSON: levels to 0.1 dB, null for what
// cannot be computed.
QByteArray reportJsonLine(const IndicatorsReport& report);
