#include "BufferRecord.h"

#include "Convert.h"

#include <QList>

#include <algorithm>

namespace {

// Positions in the block, 1-based.
constexpr int FlagsAt = 1, StartAt = 2, StopAt = 8, MasterAt = 14, SubAt = 29;
constexpr int IntervalAt = 44, LeqAt = 45, AuxiliaryAt = 46, PercentilesAt = 47;
constexpr int StartTriggerAt = 55, StopTriggerAt = 59, TitleAt = 63;
constexpr int PreReferenceAt = 79, PostReferenceAt = 81, TapePowerAt = 83;
constexpr int SpareLength = 16;

constexpr int AWeightingBit = 32, SlowBit = 16, TapeBit = 8, DatBit = 1;
constexpr int LeqModeUnit = 64, LeqLengthMask = 63;
// The highest whole-dB level whose tenths still fit in a word.
constexpr int HighestLevel = 3276;

// Trigger codes (start: 1/2 SPL, 3/4 L-index, 5 remote; stop: 1/2 SPL, 6 minutes).
constexpr int StopAfterMinutes = 6;

bool IsSplTrigger(int type) {
    return type == 1 || type == 2;
}
bool IsLIndexTrigger(int type) {
    return type == 3 || type == 4;
}

void DecodeStartTrigger(BufferRecord& record, const QByteArray& reply) {
    record.startTriggerType = static_cast<qint16>(ReadByte(reply, StartTriggerAt));
    const qint16 level = TenthsToWhole(ReadWord(reply, StartTriggerAt + 1));
    const auto byte = static_cast<qint16>(ReadByte(reply, StartTriggerAt + 3));
    if (IsSplTrigger(record.startTriggerType)) {
        record.startSplLevel = level;
        record.startSeconds = byte;
    } else if (IsLIndexTrigger(record.startTriggerType)) {
        record.startLLevel = level;
        record.startPercentile = byte;
    }
}

void DecodeStopTrigger(BufferRecord& record, const QByteArray& reply) {
    record.stopTriggerType = static_cast<qint16>(ReadByte(reply, StopTriggerAt));
    const auto byte = static_cast<qint16>(ReadByte(reply, StopTriggerAt + 3));
    if (IsSplTrigger(record.stopTriggerType)) {
        record.stopSplLevel = TenthsToWhole(ReadWord(reply, StopTriggerAt + 1));
        record.stopSeconds = byte;
    } else if (record.stopTriggerType == StopAfterMinutes) {
        record.stopMinutes = byte;
    }
}

QByteArray Byte(int value) {
    return QByteArray(1, static_cast<char>(std::clamp(value, 0, 255)));
}

QByteArray Zeros(int count) {
    return QByteArray(count, '\0');
}

QByteArray Fixed(const QByteArray& bytes, int length, char padding) {
    return bytes.left(length).leftJustified(length, padding);
}

QByteArray LevelBytes(int level) {
    return WordToBytes(std::clamp(level, 0, HighestLevel) * 10).value();
}

QByteArray DateTimeBytes(const LoggerDateTime& value) {
    const auto field = [](int number) { return static_cast<qint16>(std::clamp(number, 0, 255)); };
    const LoggerDateTime limited{
        static_cast<qint16>(std::clamp<int>(value.year, BaseYear, BaseYear + 255)),
        field(value.month),
        field(value.day),
        field(value.hour),
        field(value.minute),
        field(value.second)};
    return DateTimeToBytes(limited).value();
}

QByteArray StartCondition(const BufferRecord& record) {
    const int type = record.startTriggerType;
    if (IsSplTrigger(type))
        return Byte(type) + LevelBytes(record.startSplLevel) + Byte(record.startSeconds);
    if (IsLIndexTrigger(type))
        return Byte(type) + LevelBytes(record.startLLevel) + Byte(record.startPercentile);
    return Byte(type) + Zeros(3);
}

QByteArray StopCondition(const BufferRecord& record) {
    const int type = record.stopTriggerType;
    if (IsSplTrigger(type))
        return Byte(type) + LevelBytes(record.stopSplLevel) + Byte(record.stopSeconds);
    if (type == StopAfterMinutes)
        return Byte(type) + Zeros(2) + Byte(record.stopMinutes);
    return Byte(type) + Zeros(3);
}

// The trigger settings count only when an output is switched by a trigger (the
// editor greys them out otherwise); without one the section is eight zero bytes.
QByteArray TriggerSection(const BufferRecord& record) {
    if (record.auxiliaryMode != 2 && record.leqMode != 2 && !record.tapeEnabled)
        return Zeros(8);
    return StartCondition(record) + StopCondition(record);
}

QByteArray ReferenceBytes(qint16 tenths) {
    return SignedWordToBytes(tenths < 0 ? -1 : tenths);
}

} // namespace

BufferRecord EmptyBufferRecord() {
    return {};
}

TimerRecord DecodeTimerRecord(const QByteArray& bytes, int position) {
    const QByteArray timer = ReadBytes(bytes, position, TimerRecordLength);
    return {static_cast<qint16>(ReadByte(timer, 1)), ReadDateTime(timer, 2), ReadDateTime(timer, 8),
            static_cast<qint16>(ReadByte(timer, 14)), static_cast<qint16>(ReadByte(timer, 15))};
}

QByteArray EncodeTimerRecord(const TimerRecord& timer) {
    return Byte(timer.type) + DateTimeBytes(timer.start) + DateTimeBytes(timer.stop) +
           Byte(timer.startWeekday) + Byte(timer.stopWeekday);
}

BufferRecord DecodeBufferRecord(const QByteArray& reply) {
    BufferRecord record;
    const int flags = ReadByte(reply, FlagsAt);
    record.aWeighting = (flags & AWeightingBit) != 0;
    record.slow = (flags & SlowBit) != 0;
    record.tapeEnabled = (flags & TapeBit) != 0;
    record.tapeType = static_cast<qint16>(flags & DatBit);
    record.start = ReadDateTime(reply, StartAt);
    record.stop = ReadDateTime(reply, StopAt);
    record.master = DecodeTimerRecord(reply, MasterAt);
    record.sub = DecodeTimerRecord(reply, SubAt);
    record.interval = static_cast<qint16>(ReadByte(reply, IntervalAt));
    const int leq = ReadByte(reply, LeqAt);
    record.leqMode = static_cast<qint16>(leq / LeqModeUnit);
    record.leqLength = static_cast<qint16>(leq & LeqLengthMask);
    record.auxiliaryMode = static_cast<qint16>(ReadByte(reply, AuxiliaryAt));
    record.percentileIndices = ReadBytes(reply, PercentilesAt, PercentileCount);
    DecodeStartTrigger(record, reply);
    DecodeStopTrigger(record, reply);
    record.title = ReadBytes(reply, TitleAt, TitleLength);
    record.preReference = ReadSignedWord(reply, PreReferenceAt);
    record.postReference = ReadSignedWord(reply, PostReferenceAt);
    record.tapePower = static_cast<qint16>(ReadByte(reply, TapePowerAt));
    return record;
}

QByteArray EncodeBufferRecord(const BufferRecord& record) {
    const int flags = (record.aWeighting ? AWeightingBit : 0) | (record.slow ? SlowBit : 0) |
                      (record.tapeEnabled ? TapeBit : 0) | (record.tapeType == 1 ? DatBit : 0);
    const int leq = std::clamp<int>(record.leqMode, 0, 3) * LeqModeUnit +
                    std::clamp<int>(record.leqLength, 0, LeqLengthMask);
    // The logger fills in start and stop itself, and the post-reference comes with "p".
    const QByteArray notYet = DateTimeToBytes(UnsetDateTime()).value();
    return Byte(flags) + notYet + notYet + EncodeTimerRecord(record.master) +
           EncodeTimerRecord(record.sub) + Byte(record.interval) + Byte(leq) +
           Byte(record.auxiliaryMode) + Fixed(record.percentileIndices, PercentileCount, '\0') +
           TriggerSection(record) + Fixed(record.title, TitleLength, ' ') +
           ReferenceBytes(record.preReference) + ReferenceBytes(-1) + Byte(record.tapePower) +
           Zeros(SpareLength);
}

QByteArray TitleBytes(const QString& title) {
    QByteArray bytes;
    for (const uint character : title.toUcs4()) {
        if (bytes.size() == TitleLength)
            break;
        bytes.append(character <= 0xFF ? static_cast<char>(character) : '?');
    }
    return Fixed(bytes, TitleLength, ' ');
}

QString TitleText(const QByteArray& titleBytes) {
    return QString::fromLatin1(titleBytes);
}
