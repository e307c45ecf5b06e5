// The graph viewer's data file reader on arbitrary file contents: it never
// crashes or loops, and whatever it reads is consistent.
#include "DataFileReader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ReadOptions options{QLocale(QLocale::English, QLocale::UnitedKingdom), {}};
    const ReadResult result =
        readDataBytes(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), options);
    if (result.status != ReadResult::Status::Read && result.data.hasData())
        std::abort(); // a failed read hands out no data
    for (const DataSet& set : result.data.sets)
        if (set.values.size() != result.data.times.size())
            std::abort(); // every data set has one value per time
    return 0;
}
