#include "MemoryBlock.h"

#include "Convert.h"

namespace {

// Positions in the block, 1-based as the conversions count them.
constexpr int TypeAt = 1, StampAt = 2, LeqAt = 8, LminAt = 10, LmaxAt = 12, PercentilesAt = 14;
constexpr int TemperatureAt = 30, BatteryAt = 32, OverloadAt = 34, CodeAt = 8;
constexpr int LeqValuesAt = 8;
// A short-term Leq value above this carries the overload mark.
constexpr int OverloadMark = 2000;

double Level(const QByteArray& block, int position) {
    return ReadWord(block, position) / 10.0;
}

double Signed(const QByteArray& block, int position) {
    return ReadSignedWord(block, position) / 10.0;
}

StatisticalRecord DecodeStatistical(const QByteArray& block) {
    StatisticalRecord record;
    record.stamp = ReadDateTime(block, StampAt);
    record.leq = Level(block, LeqAt);
    record.lmin = Level(block, LminAt);
    record.lmax = Level(block, LmaxAt);
    for (int i = 0; i < 8; ++i)
        record.percentiles[size_t(i)] = Level(block, PercentilesAt + 2 * i);
    record.temperature = Signed(block, TemperatureAt);
    record.battery = Signed(block, BatteryAt);
    record.overload = ReadByte(block, OverloadAt) != 0;
    return record;
}

LeqRecord DecodeLeq(const QByteArray& block, int spacing) {
    LeqRecord record;
    LoggerDateTime time = ReadDateTime(block, StampAt);
    // Date arithmetic on a damaged stamp would invent a plausible wrong date:
    // it is written as it came.
    if (!IsValidDateTime(time))
        spacing = 0;
    if (spacing > 0)
        SubtractSeconds(time, (LeqValuesPerBlock - 1) * spacing);
    for (int i = 0; i < LeqValuesPerBlock; ++i) {
        const qint16 value = ReadWord(block, LeqValuesAt + 2 * i);
        if (value == 0) {
            record.endedEarly = true;
            break;
        }
        const bool overload = value > OverloadMark;
        record.values.append({time, (overload ? value - OverloadMark : value) / 10.0, overload});
        if (spacing > 0)
            AddSeconds(time, spacing);
    }
    return record;
}

} // namespace

int BlockTypeCode(const QByteArray& block) {
    return ReadByte(block, TypeAt);
}

bool IsTerminator(const QByteArray& block) {
    return BlockTypeCode(block) == int(BlockType::Terminator);
}

QString EventText(int code) {
    switch (code) {
    case 0:
        return QStringLiteral("Tape switched on.");
    case 1:
        return QStringLiteral("Tape switched off.");
    case 10:
        return QStringLiteral("Short term Leq recording commenced.");
    case 11:
        return QStringLiteral("Short term Leq recording ceased.");
    case 20:
        return QStringLiteral("Statistical data logging commenced.");
    case 21:
        return QStringLiteral("Statistical data logging ceased.");
    case 30:
        return QStringLiteral("Auxiliary power switched on.");
    case 31:
        return QStringLiteral("Auxiliary power switched off.");
    default:
        return QStringLiteral("Unknown event (Code %1).").arg(code);
    }
}

QString ErrorText(int code) {
    switch (code) {
    case 1:
        return QStringLiteral("ERROR : DAP Communication Failure.");
    case 2:
        return QStringLiteral("ERROR : Low battery detected.  System shut down.");
    case 3:
        return QStringLiteral("ERROR : System reset detected.");
    case 4:
        return QStringLiteral("ERROR : DAP reset detected.");
    case 5:
        return QStringLiteral("ERROR : Data memory full.  System shut down.");
    case 6:
        return QStringLiteral("WARNING : Clock variation detected.");
    default:
        return QStringLiteral("Unknown error (Code %1).").arg(code);
    }
}

DecodedBlock DecodeBlock(const QByteArray& block, int leqSpacingSeconds) {
    const int type = BlockTypeCode(block);
    const LoggerDateTime stamp = ReadDateTime(block, StampAt);
    switch (type) {
    case int(BlockType::Statistical):
        return DecodeStatistical(block);
    case int(BlockType::ShortTermLeq):
        return DecodeLeq(block, leqSpacingSeconds);
    case int(BlockType::Event):
        return EventRecord{stamp, EventText(ReadByte(block, CodeAt))};
    case int(BlockType::Error):
        return EventRecord{stamp, ErrorText(ReadByte(block, CodeAt))};
    default:
        return EventRecord{
            stamp,
            QStringLiteral("ERROR : Unknown record type error (code %1) generated.").arg(type)};
    }
}
