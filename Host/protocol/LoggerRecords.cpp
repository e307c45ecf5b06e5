#include "LoggerRecords.h"

#include "Convert.h"

InformationRecord DecodeInformation(const QByteArray& reply) {
    InformationRecord record;
    record.serialNumber = ReadLong(reply, 1);
    record.processorVersion = ReadWord(reply, 5);
    record.measurementVersion = ReadWord(reply, 7);
    record.byte9 = static_cast<qint16>(ReadByte(reply, 9));
    record.battery = ReadWord(reply, 10);
    record.temperature = ReadSignedWord(reply, 12);
    record.powerDownState = static_cast<qint16>(ReadByte(reply, 14));
    record.dayOfWeek = static_cast<qint16>(ReadByte(reply, 15));
    record.clock = ReadDateTime(reply, 16);
    record.loggingMode = static_cast<qint16>(ReadByte(reply, 22) & 3);
    record.freeMemory = ReadLong(reply, 23);
    return record;
}

InformationRecord FailedInformation() {
    return {-1, -1, -1, 0, -1, -100, 0, -1, UnsetDateTime(), -1, -1};
}

UpdateRecord DecodeUpdate(const QByteArray& reply) {
    return {ReadWord(reply, 1), ReadByte(reply, 3) != 0, ReadDateTime(reply, 4)};
}

UpdateRecord FailedUpdate() {
    return {-1, false, UnsetDateTime()};
}

ParametersRecord DecodeParameters(const QByteArray& reply) {
    return {static_cast<qint16>(ReadByte(reply, 1)), static_cast<qint16>(ReadByte(reply, 2))};
}

ParametersRecord FailedParameters() {
    return {-1, -1};
}

QString SerialNumberText(qint32 serialNumber) {
    if (serialNumber < 0)
        return {};
    // Numbers of more than eight digits keep their extra digits in the first group.
    const QString digits = QStringLiteral("%1").arg(serialNumber, 8, 10, QLatin1Char('0'));
    const qsizetype head = digits.size() - 6;
    return digits.left(head) + u'-' + digits.mid(head, 3) + u'-' + digits.right(3);
}

QString VersionText(qint16 version) {
    if (version < 0)
        return {};
    return QString::number(version / 256) + u'.' + QString::number(version % 256);
}
