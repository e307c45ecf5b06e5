// Get Update replies of any length and content.

#include "Convert.h"
#include "FuzzChecks.h"
#include "LoggerRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray reply = FuzzInput(data, size);
    const UpdateRecord record = DecodeUpdate(reply);
    FUZZ_CHECK(DecodeUpdate(PaddedRecord(reply, UpdateLength)) == record);
    FUZZ_CHECK(record.level >= -1);
    FUZZ_CHECK(record.overload == (ReadByte(reply, 3) != 0));
    FUZZ_CHECK(record.clock == ReadDateTime(reply, 4));
    CheckDateHandling(record.clock);
    return 0;
}
