#pragma once

#include "CommandLibrary.h"

#include <QList>

struct ListedBin {
    int bin = 0;
    qint16 count = 0;
};
// The list that "Process Data" shows: the first non-zero bins from bin 1, at
// most 21 of them, looking no further than bin 1499.
QList<ListedBin> ListNonZeroBins(const Logger::HistogramCounts& counts);
