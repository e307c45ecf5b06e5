#include "HistogramList.h"

namespace {

constexpr int LastListedBin = Logger::HistogramBins - 1;
constexpr int MostListedRows = 21;

} // namespace

QList<ListedBin> ListNonZeroBins(const Logger::HistogramCounts& counts) {
    QList<ListedBin> rows;
    for (int bin = 1; bin <= LastListedBin && rows.size() < MostListedRows; ++bin)
        if (counts[std::size_t(bin)] != 0)
            rows.append({bin, counts[std::size_t(bin)]});
    return rows;
}
