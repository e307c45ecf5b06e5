#include "LoggingSetup.h"

namespace {

constexpr int HighestWord = 32767;

} // namespace

quint16 ReferenceLevelWord(int tenthsOfDb) {
    if (tenthsOfDb < 0 || tenthsOfDb > HighestWord)
        return NoReference;
    return static_cast<quint16>(tenthsOfDb);
}

BufferRecord SetupRecord(const LoggingSetup& setup) {
    BufferRecord record;
    record.start = setup.start;
    record.stop = setup.stop;
    record.master = TimerRecordOf(setup.master);
    record.sub = TimerRecordOf(setup.sub);
    PlaceParameterSet(setup.parameters, record);
    record.title = TitleBytes(setup.title);
    // The record keeps references signed: 65535 is its -1, "not taken".
    record.preReference = static_cast<qint16>(setup.preReference);
    record.postReference = static_cast<qint16>(setup.postReference);
    return record;
}

QByteArray SetupBlock(const LoggingSetup& setup) {
    return EncodeBufferRecord(SetupRecord(setup));
}
