#include "HistogramRead.h"

#include "Convert.h"
#include "EventWait.h"
#include "ExchangeGuard.h"
#include "Framing.h"

namespace {

// The logger gathers the histogram before its first count can be asked for.
constexpr int GatherPause = 50;
constexpr int LastListedBin = HistogramBins - 1;
constexpr int MostListedRows = 21;

} // namespace

int ReadHistogram(HistogramCounts& counts, const std::function<void(int bin)>& reading) {
    counts.fill(0);
    ExchangeScope exchange;
    SendCommand("x");
    WaitWithEvents(GatherPause);
    for (int bin = 1; bin <= HistogramBins; ++bin) {
        if (reading)
            reading(bin);
        int tries = 0;
        while (!RequestReply(2))
            if (++tries == HistogramBinTries)
                return bin;
        counts[std::size_t(bin)] = ReadWord(ReplyBuffer, 1);
    }
    return 0;
}

QList<ListedBin> ListNonZeroBins(const HistogramCounts& counts) {
    QList<ListedBin> rows;
    for (int bin = 1; bin <= LastListedBin && rows.size() < MostListedRows; ++bin)
        if (counts[std::size_t(bin)] != 0)
            rows.append({bin, counts[std::size_t(bin)]});
    return rows;
}
