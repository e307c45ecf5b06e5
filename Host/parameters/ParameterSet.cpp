#include "ParameterSet.h"

namespace {

// Where the set's fields lie in the 99-byte block, counted from 0.
constexpr int FlagsAt = 0, IntervalAt = 43, LeqAt = 44, AuxiliaryAt = 45, PercentilesAt = 46,
              TriggersAt = 54, TapePowerAt = 82;
constexpr int TriggerSectionLength = 8;

} // namespace

QByteArray DefaultPercentiles() {
    return QByteArray("\x01\x05\x0a\x19\x32\x4b\x5a\x63", PercentileCount);
}

ParameterSet DefaultParameterSet() {
    return {};
}

void PlaceParameterSet(const ParameterSet& set, BufferRecord& record) {
    record.aWeighting = set.Frequency;
    record.slow = set.TimeWeight;
    record.interval = set.Interval;
    record.auxiliaryMode = set.Auxiliary;
    record.leqLength = set.LeqLength;
    record.leqMode = set.LeqOption;
    record.startTriggerType = set.iTriggerStart;
    record.startSplLevel = set.SplStartLevel;
    record.startSeconds = set.SplStartTime;
    record.startPercentile = set.LTrigger;
    record.startLLevel = set.LLTrigger;
    record.stopTriggerType = set.iTriggerStop;
    record.stopSplLevel = set.SplStopLevel;
    record.stopSeconds = set.SplStopTime;
    record.stopMinutes = set.TimeStop;
    record.tapeEnabled = set.TapeUse;
    record.tapeType = set.TapeType;
    record.tapePower = set.TapePower;
    record.percentileIndices = set.LIndices;
}

// The block's encoder is the one place that knows the logger's bytes; the
// pieces are cut from it.
ParameterFields EncodeParameterFields(const ParameterSet& set) {
    BufferRecord record;
    PlaceParameterSet(set, record);
    const QByteArray block = EncodeBufferRecord(record);
    return {block.mid(FlagsAt, 1),
            block.mid(IntervalAt, 1),
            block.mid(LeqAt, 1),
            block.mid(AuxiliaryAt, 1),
            block.mid(PercentilesAt, PercentileCount),
            block.mid(TriggersAt, TriggerSectionLength),
            block.mid(TapePowerAt, 1)};
}
