// Get Parameters replies of any length and content.

#include "FuzzChecks.h"
#include "LoggerRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray reply = FuzzInput(data, size);
    const ParametersRecord record = DecodeParameters(reply);
    FUZZ_CHECK(DecodeParameters(PaddedRecord(reply, ParametersLength)) == record);
    FUZZ_CHECK(record.frequencyCode >= 0 && record.frequencyCode <= 255);
    FUZZ_CHECK(record.timeCode >= 0 && record.timeCode <= 255);
    FUZZ_CHECK(!(record == FailedParameters()));
    return 0;
}
