#pragma once

#include "GraphData.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// The figures a noise survey report quotes, computed from a data file as the
// reader holds it (a statistical file or a short-term Leq file) over a time
// range. Plain values, no widgets: the viewer's indicators window and
// qn7x-report show the same numbers.
//
// Each record covers the interval that ends at its time stamp (its length is
// the header's "Statistical Interval", or "Short Term Leq Length" for a
// short-term Leq file) and belongs to whatever holds the start of that
// interval: the time range, a day's period. So a 15-minute record stamped
// 07:00 is night, and the range 07:00 to 19:00 holds the records stamped
// 07:15 to 19:00.

// Whole hours of the clock, from <= hour < to; a range whose end is not after
// its start runs past midnight (23-07).
struct HourRange {
    int from = 0;
    int to = 0;
    int hours() const { return to > from ? to - from : to + 24 - from; }
    friend bool operator==(const HourRange&, const HourRange&) = default;
};

struct IndicatorOptions {
    HourRange day{7, 19};
    HourRange evening{19, 23};
    HourRange night{23, 7};
    double driftLimit = 0.5; // dB either way
};

// Empty when the three periods follow one another round the clock (day,
// evening, night, each at least one hour); otherwise what is wrong with them.
QString periodsError(const IndicatorOptions& options);

// Day serials (DateSerial.h), from <= interval start < to.
struct SerialRange {
    double from = 0;
    double to = 0;
    // A file without records gives an empty range: no edges to show.
    bool isEmpty() const { return to <= from; }
};

// From the start of the earliest record's interval to the latest stamp: every
// record of the file (one second past the latest stamp when the header gives
// no record length).
SerialRange wholeFileRange(const GraphData& data);

// The arithmetic mean of one percentile column's interval values (L90 ...),
// named by its heading.
struct PercentileMean {
    QString name;
    std::optional<double> mean;
};

// One calendar day; a night belongs to the day on which it starts. A period
// without data has no value; den only when all three periods are covered whole.
struct DayIndicators {
    QDate date;
    std::optional<double> day;
    std::optional<double> evening;
    std::optional<double> night;
    std::optional<double> den;
};

struct CalibrationCheck {
    std::optional<double> pre; // nothing when "NOT TAKEN" or absent
    std::optional<double> post;
    std::optional<double> drift; // post - pre
    bool flagged = false;        // |drift| over the limit, or a reference not taken
};

struct NoiseIndicators {
    std::optional<double> recordSeconds; // nothing when the header does not give it
    qsizetype records = 0;               // records in the range, missing ones included
    qsizetype missing = 0;               // of those, with a missing level (written -.1)
    qsizetype overloads = 0;             // of those, flagged overloaded
    std::optional<double> coverage;      // time with data / length of the range, 0 to 1
    std::optional<double> leq;
    std::optional<double> lmax;
    std::optional<double> lmin;
    QList<PercentileMean> percentiles; // in column order
    QList<DayIndicators> days;         // in date order, days with data only
    CalibrationCheck calibration;
};

// The value of the header entry with this name, blanks trimmed; empty when absent.
QString headerValue(const GraphData& data, const QString& name);

// The record length the file's header gives, in seconds.
std::optional<double> recordSeconds(const GraphData& data);

NoiseIndicators computeIndicators(const GraphData& data, SerialRange range,
                                  const IndicatorOptions& options = {});

// Lden of the period levels, each period weighted by its hours (12, 4 and 8 by
// default) with 5 dB added to the evening and 10 dB to the night.
double denLevel(double day, double evening, double night, const IndicatorOptions& options = {});
