// Get Information replies of any length and content.

#include "FuzzChecks.h"
#include "LoggerRecords.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray reply = FuzzInput(data, size);
    const InformationRecord record = DecodeInformation(reply);
    FUZZ_CHECK(DecodeInformation(PaddedRecord(reply, InformationLength)) == record);

    FUZZ_CHECK(record.serialNumber >= 0);
    FUZZ_CHECK(record.processorVersion >= -1 && record.measurementVersion >= -1);
    FUZZ_CHECK(record.byte9 >= 0 && record.byte9 <= 255);
    FUZZ_CHECK(record.battery >= -1);
    FUZZ_CHECK(record.powerDownState >= 0 && record.powerDownState <= 255);
    FUZZ_CHECK(record.dayOfWeek >= 0 && record.dayOfWeek <= 255);
    FUZZ_CHECK(record.loggingMode >= 0 && record.loggingMode <= 3);
    FUZZ_CHECK(record.freeMemory >= 0);
    CheckDateHandling(record.clock);

    static const QRegularExpression serialPattern(QStringLiteral("^\\d{2,}-\\d{3}-\\d{3}$"));
    FUZZ_CHECK(serialPattern.match(SerialNumberText(record.serialNumber)).hasMatch());
    static const QRegularExpression versionPattern(QStringLiteral("^\\d{1,3}\\.\\d{1,3}$"));
    for (const qint16 version : {record.processorVersion, record.measurementVersion})
        FUZZ_CHECK(version < 0 ? VersionText(version).isEmpty()
                               : versionPattern.match(VersionText(version)).hasMatch());
    return 0;
}
