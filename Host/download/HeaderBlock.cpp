#include "HeaderBlock.h"

#include "DataFileFormat.h"

#include <variant>

namespace {

using Value = std::variant<QString, double>;

QByteArray HeaderLine(const QString& name, const Value& value) {
    const QByteArray valueField = std::holds_alternative<double>(value)
                                      ? NumberText(std::get<double>(value))
                                      : TextField(std::get<QString>(value));
    const QByteArray empty = TextField({});
    return CsvLine({TextField(name), empty, empty, empty, valueField});
}

QString Plural(int count, const QString& one, const QString& many) {
    return QString::number(count) + (count == 1 ? one : many);
}

QString TapeText(const BufferRecord& record) {
    if (!record.tapeEnabled)
        return QStringLiteral("Disabled");
    return record.tapeType == 1 ? QStringLiteral("DAT recorder enabled on trigger")
                                : QStringLiteral("Analogue tape enabled on trigger");
}

QString SplText(const QString& condition, int level, int seconds) {
    return QStringLiteral("When the SPL ") + condition + QString::number(level) +
           QStringLiteral("dB continuously for ") +
           Plural(seconds, QStringLiteral(" second."), QStringLiteral(" seconds."));
}

QString SplTrigger(int type, int level, int seconds) {
    return SplText(type == 1 ? QStringLiteral("exceeds ") : QStringLiteral("remains under "), level,
                   seconds);
}

// A stored weekday outside 0 to 6 comes from a damaged record: its number is
// written rather than looked up.
QString DayName(int weekday, const QLocale& locale) {
    if (weekday < 0 || weekday > 6)
        return QString::number(weekday);
    return locale.dayName(weekday == 0 ? 7 : weekday, QLocale::LongFormat);
}

Value Reference(qint16 tenths) {
    if (tenths == -1)
        return QStringLiteral("NOT TAKEN");
    return tenths / 10.0;
}

QByteArray HeadingLine(const QStringList& names) {
    QList<QByteArray> fields;
    for (const QString& name : names)
        fields << TextField(name);
    return CsvLine(fields);
}

} // namespace

std::optional<QString> OutputModeText(int mode) {
    switch (mode) {
    case 0:
        return QStringLiteral("Disabled");
    case 1:
        return QStringLiteral("Enabled whilst logging");
    case 2:
        return QStringLiteral("Enabled on trigger");
    default:
        return std::nullopt;
    }
}

QString IntervalText(int minutes) {
    return Plural(minutes, QStringLiteral(" minute"), QStringLiteral(" minutes"));
}

QString LeqLengthText(int seconds) {
    return Plural(seconds, QStringLiteral(" second"), QStringLiteral(" seconds"));
}

bool AnythingOnTrigger(const BufferRecord& record) {
    return record.auxiliaryMode == 2 || record.leqMode == 2 || record.tapeEnabled;
}

QString StartTriggerText(const BufferRecord& record) {
    if (!AnythingOnTrigger(record))
        return QStringLiteral("N/A");
    switch (record.startTriggerType) {
    case 1:
    case 2:
        return SplTrigger(record.startTriggerType, record.startSplLevel, record.startSeconds);
    case 3:
    case 4:
        return QStringLiteral("When the L") + QString::number(record.startPercentile) +
               (record.startTriggerType == 3
                    ? QStringLiteral(" over a statistical interval exceeds ")
                    : QStringLiteral(" over a statistical interval under ")) +
               QString::number(record.startLLevel) + QStringLiteral("dB.");
    case 5:
        return QStringLiteral("When the remote switch is pressed.");
    default:
        return QStringLiteral("N/A");
    }
}

QString StopTriggerText(const BufferRecord& record) {
    if (!AnythingOnTrigger(record))
        return QStringLiteral("N/A");
    switch (record.stopTriggerType) {
    case 1:
    case 2:
        return SplTrigger(record.stopTriggerType, record.stopSplLevel, record.stopSeconds);
    case 6:
        return record.stopMinutes == 1
                   ? QStringLiteral("After 1 minute has elapsed.")
                   : QStringLiteral("After ") + QString::number(record.stopMinutes) +
                         QStringLiteral(" minutes have elapsed.");
    default:
        return QStringLiteral("N/A");
    }
}

std::optional<QString> TimerText(const TimerRecord& timer, const QLocale& locale) {
    switch (timer.type) {
    case 0:
        return QStringLiteral("N/A");
    case 1:
        return QStringLiteral("Hourly.  Logging between ") + QString::number(timer.start.minute) +
               QStringLiteral(" and ") + QString::number(timer.stop.minute) +
               QStringLiteral(" minutes past the hour.");
    case 2:
        return QStringLiteral("Daily.  Logging between ") + HourMinuteText(timer.start) +
               QStringLiteral(" and ") + HourMinuteText(timer.stop) + u'.';
    case 3:
        return QStringLiteral("Weekly.  Logging between ") + HourMinuteText(timer.start) +
               QStringLiteral(" on ") + DayName(timer.startWeekday, locale) +
               QStringLiteral(" and ") + HourMinuteText(timer.stop) + QStringLiteral(" on ") +
               DayName(timer.stopWeekday, locale) + u'.';
    case 4:
        return QStringLiteral("One Shot. Logging will start ") +
               DateTimeTextIn(locale, timer.start, {}) + QStringLiteral(" and stop ") +
               DateTimeTextIn(locale, timer.stop, {}) + u'.';
    default:
        return std::nullopt;
    }
}

QList<QByteArray> HeaderLines(const BufferRecord& record, const HeaderContext& context) {
    const QLocale& locale = context.locale;
    QList<QByteArray> lines = {CsvLine({TextField(HeaderBanner)})};
    const auto add = [&lines](const QString& name, const Value& value) {
        lines << HeaderLine(name, value);
    };
    add(QStringLiteral("Logger Serial Number"), context.serialNumberText);
    add(QStringLiteral("Measurement Title"), TitleText(record.title));
    add(QStringLiteral("Measurement started at"),
        DateTimeTextIn(locale, record.start, QStringLiteral("<Error!>")));
    add(QStringLiteral("Measurement stopped at"),
        DateTimeTextIn(locale, record.stop, QStringLiteral("<In Progress>")));
    add(QStringLiteral("Frequency Weighting"),
        record.aWeighting ? QStringLiteral("A") : QStringLiteral("C"));
    add(QStringLiteral("Time Averaging"),
        record.slow ? QStringLiteral("Slow") : QStringLiteral("Fast"));
    add(QStringLiteral("Statistical Interval"), IntervalText(record.interval));
    if (const auto auxiliary = OutputModeText(record.auxiliaryMode))
        add(QStringLiteral("Auxiliary Power"), *auxiliary);
    add(QStringLiteral("Tape Recorder"), TapeText(record));
    if (const auto leq = OutputModeText(record.leqMode)) {
        add(QStringLiteral("Short Term Leq"), *leq);
        add(QStringLiteral("Short Term Leq Length"),
            record.leqMode == 0 ? QStringLiteral("N/A") : LeqLengthText(record.leqLength));
    }
    add(QStringLiteral("Start Trigger"), StartTriggerText(record));
    add(QStringLiteral("Stop Trigger"), StopTriggerText(record));
    if (const auto master = TimerText(record.master, locale))
        add(QStringLiteral("Master Timer"), *master);
    if (const auto sub = TimerText(record.sub, locale))
        add(QStringLiteral("Sub Timer"), *sub);
    add(QStringLiteral("Pre-measurement Reference"), Reference(record.preReference));
    add(QStringLiteral("Post-measurement Reference"), Reference(record.postReference));
    add(QStringLiteral("Engineering Units"), QStringLiteral("dB SPL"));
    return lines;
}

QByteArray HeaderBlock(const BufferRecord& record, const HeaderContext& context) {
    return HeaderLines(record, context).join();
}

QByteArray StatisticalHeadingLine(const BufferRecord& record) {
    QStringList names = {QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Leq"),
                         QStringLiteral("Lmax")};
    // A record that was not read has no indices: its columns still line up.
    for (int i = 0; i < PercentileCount; ++i) {
        const int index = i < record.percentileIndices.size()
                              ? static_cast<quint8>(record.percentileIndices.at(i))
                              : 0;
        names << QStringLiteral("L") + QString::number(index);
    }
    names << QStringLiteral("Lmin") << QStringLiteral("Temp") << QStringLiteral("Battery")
          << QStringLiteral("Overload");
    return HeadingLine(names);
}

QByteArray EventHeadingLine() {
    return HeadingLine({QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Event")});
}

QByteArray LeqHeadingLine() {
    return HeadingLine({QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Leq"),
                        QStringLiteral("Overload")});
}
