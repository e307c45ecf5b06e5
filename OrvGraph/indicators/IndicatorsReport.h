#pragma once

#include "NoiseIndicators.h"
#include "OriginCheck.h"

#include <QString>

#include <optional>

// What one report on one file says: the viewer's "copy as text" and
// qn7x-report's readable output.
struct IndicatorsReport {
    QString file;   // the data file's name as shown
    QString serial; // the header's "Logger Serial Number"
    SerialRange range;
    IndicatorOptions options;
    NoiseIndicators indicators;
    OriginCheck origin;
};

// The report on the file read from this path over this range; the origin is
// checked by the caller, once per file, since it reads the whole file.
IndicatorsReport makeReport(const QString& path, const GraphData& data, SerialRange range,
                            const IndicatorOptions& options, const OriginCheck& origin);

// Levels to 0.1 dB, the way every report shows them.
double roundedLevel(double level);
// "67.4 dB", or "-" when the value cannot be computed.
QString levelText(std::optional<double> level);
// A calibration reference as levelText gives it, or "NOT TAKEN".
QString referenceText(std::optional<double> level);

// A period's hours as "07:00-19:00".
QString hoursText(const HourRange& period);
// The share of the range with data as "97.9%", or "-" when there is no range.
QString coverageText(std::optional<double> coverage);

// A few lines of plain text, one figure a line, ready to paste into a report.
QString reportText(const IndicatorsReport& report);
