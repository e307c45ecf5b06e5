// Program read replies of any length and content: decoding reads only the 99
// bytes, re-encoding gives a 99-byte block that decodes and encodes to itself,
// and titles keep their 16 single-byte characters.

#include "BufferRecord.h"
#include "FuzzChecks.h"

namespace {

void CheckTimer(const TimerRecord& timer) {
    FUZZ_CHECK(timer.type >= 0 && timer.type <= 255);
    CheckDateHandling(timer.start);
    CheckDateHandling(timer.stop);
}

void CheckRanges(const BufferRecord& record) {
    FUZZ_CHECK(record.leqMode >= 0 && record.leqMode <= 3);
    FUZZ_CHECK(record.leqLength >= 0 && record.leqLength <= 63);
    FUZZ_CHECK(record.tapeType == 0 || record.tapeType == 1);
    for (const qint16 level : {record.startSplLevel, record.startLLevel, record.stopSplLevel})
        FUZZ_CHECK(level >= 0 && level <= 3277);
    FUZZ_CHECK(record.title.size() == TitleLength);
    FUZZ_CHECK(record.percentileIndices.size() == PercentileCount);
    CheckDateHandling(record.start);
    CheckDateHandling(record.stop);
    CheckTimer(record.master);
    CheckTimer(record.sub);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray reply = FuzzInput(data, size);
    const BufferRecord record = DecodeBufferRecord(reply);
    FUZZ_CHECK(DecodeBufferRecord(PaddedRecord(reply, BufferRecordLength)) == record);
    CheckRanges(record);

    const QByteArray block = EncodeBufferRecord(record);
    FUZZ_CHECK(block.size() == BufferRecordLength);
    const BufferRecord sent = DecodeBufferRecord(block);
    FUZZ_CHECK(EncodeBufferRecord(sent) == block);
    FUZZ_CHECK(sent.master == record.master && sent.sub == record.sub);
    FUZZ_CHECK(sent.title == record.title && sent.percentileIndices == record.percentileIndices);
    FUZZ_CHECK(IsUnset(sent.start) && IsUnset(sent.stop) && sent.postReference == -1);

    FUZZ_CHECK(TitleBytes(TitleText(record.title)) == record.title);
    FUZZ_CHECK(TitleBytes(QString::fromUtf8(reply)).size() == TitleLength);
    return 0;
}
