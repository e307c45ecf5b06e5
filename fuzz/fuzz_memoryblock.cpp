// The block decoder on any bytes, and on blocks of a known type with a real
// time stamp made from the same bytes: decoding reads only the 34 bytes, and
// the graph viewer's reader takes back the lines each block writes to the data
// files, one point per dated statistical record or short-term Leq value.

#include "CommandLibrary.h"
#include "DataFileReader.h"
#include "DataFiles.h"
#include "FuzzChecks.h"
#include "MemoryBlock.h"

#include <QTemporaryDir>

namespace {

const QLocale English(QLocale::English, QLocale::UnitedKingdom);

// Bytes 1 to 6 made into a stamp the calendar accepts; the rest as they came.
QByteArray WellFormed(QByteArray block) {
    const auto at = [&](int offset) { return static_cast<quint8>(block[offset]); };
    block[0] = char(1 + at(0) % 5);
    block[1] = char(at(1) % 255);
    block[2] = char(1 + at(2) % 12);
    block[3] = char(1 + at(3) % 28);
    block[4] = char(at(4) % 24);
    block[5] = char(at(5) % 60);
    block[6] = char(at(6) % 60);
    return block;
}

// A line whose stamp is no date-time has an empty date field: the reader has
// nowhere on the time axis for it and must leave it out, not file it under the
// time of the line before.
qsizetype DatedValues(const DecodedBlock& decoded) {
    if (const auto* statistical = std::get_if<StatisticalRecord>(&decoded))
        return IsValidDateTime(statistical->stamp) ? 1 : 0;
    qsizetype dated = 0;
    if (const auto* leq = std::get_if<LeqRecord>(&decoded))
        for (const LeqValue& value : leq->values)
            dated += IsValidDateTime(value.time) ? 1 : 0;
    return dated;
}

// Points of the file as the reader gives them; it must accept the file.
qsizetype ReadPoints(const QString& path, qsizetype sets) {
    ReadOptions options;
    options.locale = English;
    const ReadResult read = readDataFile(path, options);
    FUZZ_CHECK(read.status == ReadResult::Status::Read);
    FUZZ_CHECK(read.data.setCount() == sets);
    return read.data.pointCount();
}

// One buffer's files with a dated statistical and Leq record, then this block.
void CheckReadBack(const QByteArray& block, int spacing) {
    static QTemporaryDir dir;
    static const QByteArray datedStatistical =
        QByteArray("\x01\x08\x03\x01\x0c\x00\x00", 7) + QByteArray(MemoryBlockLength - 7, '\x01');
    static const QByteArray datedLeq = QByteArray("\x02\x08\x03\x01\x0c\x00\x00\x01\xc2", 9) +
                                       QByteArray(MemoryBlockLength - 9, '\0');
    const QString base = dir.filePath(QStringLiteral("block"));
    BufferRecord record = EmptyBufferRecord();
    record.leqMode = 1;
    record.leqLength = qint16(spacing);
    record.percentileIndices = QByteArray("\x01\x05\x0a\x19\x32\x4b\x5a\x63", PercentileCount);
    const DecodedBlock decoded = DecodeBlock(block, spacing);
    {
        DataFileSet files(base, HeaderContext{QStringLiteral("12-345-678"), English});
        FUZZ_CHECK(files.openForBuffer(record).ok());
        FUZZ_CHECK(files.write(DecodeBlock(datedStatistical, spacing)).ok());
        FUZZ_CHECK(files.write(DecodeBlock(datedLeq, spacing)).ok());
        FUZZ_CHECK(files.write(decoded).ok());
        FUZZ_CHECK(files.close().ok());
    }
    const qsizetype points =
        ReadPoints(StatisticalFilePath(base), 14) + ReadPoints(LeqFilePath(base, 0), 2);
    FUZZ_CHECK(points == 2 + DatedValues(decoded));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = FuzzInput(data, size);
    const QByteArray block = PaddedRecord(input, MemoryBlockLength);
    // The Leq spacing of one buffer is 0 to 63 seconds; it rides on byte 34.
    const int spacing = size > size_t(MemoryBlockLength) ? data[MemoryBlockLength] % 64 : 0;
    FUZZ_CHECK(DecodeBlock(input, spacing) == DecodeBlock(block, spacing));
    CheckReadBack(block, spacing);
    CheckReadBack(WellFormed(block), spacing);
    return 0;
}
