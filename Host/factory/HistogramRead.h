#pragma once

#include <QList>
#include <QtGlobal>
#include <array>
#include <functional>

// The logger's level histogram: bins 1 to 1500, read one two-byte count at a
// time after "x". Element 0 is never filled.
constexpr int HistogramBins = 1500;
using HistogramCounts = std::array<qint16, HistogramBins + 1>;

// A bin whose count does not come is asked for this many times in all.
constexpr int HistogramBinTries = 3;

// Reads every bin into counts (cleared first); reading is told each bin as it
// is asked for. 0 when all came, otherwise the bin that failed every try,
// where the read stopped.
int ReadHistogram(HistogramCounts& counts, const std::function<void(int bin)>& reading);

struct ListedBin {
    int bin = 0;
    qint16 count = 0;
};
// The list that "Process Data" shows: the first non-zero bins from bin 1, at
// most 21 of them, looking no further than bin 1499.
QList<ListedBin> ListNonZeroBins(const HistogramCounts& counts);
