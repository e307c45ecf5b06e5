#include "IndicatorsReport.h"

#include "DateSerial.h"

#include <QFileInfo>

#include <cmath>

namespace {

QString dateTimeText(const SerialRange& range, double serial) {
    if (range.isEmpty())
        return QStringLiteral("-");
    return DateSerial::toDateTime(serial).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString line(const QString& name, const QString& value) {
    return name.leftJustified(20) + value + u'\n';
}

} // namespace

QString hoursText(const HourRange& period) {
    return QStringLiteral("%1:00-%2:00")
        .arg(period.from, 2, 10, QChar(u'0'))
        .arg(period.to, 2, 10, QChar(u'0'));
}

QString coverageText(std::optional<double> coverage) {
    return coverage ? QString::number(*coverage * 100.0, 'f', 1) + u'%' : QStringLiteral("-");
}

IndicatorsReport makeReport(const QString& path, const GraphData& data, SerialRange range,
                            const IndicatorOptions& options, const OriginCheck& origin) {
    return {.file = QFileInfo(path).fileName(),
            .serial = headerValue(data, QStringLiteral("Logger Serial Number")),
            .range = range,
            .options = options,
            .indicators = computeIndicators(data, range, options),
            .origin = origin};
}

double roundedLevel(double level) {
    return std::round(level * 10.0) / 10.0;
}

QString levelText(std::optional<double> level) {
    return level ? QString::number(roundedLevel(*level), 'f', 1) + QStringLiteral(" dB")
                 : QStringLiteral("-");
}

QString referenceText(std::optional<double> level) {
    return level ? levelText(level) : QStringLiteral("NOT TAKEN");
}

QString reportText(const IndicatorsReport& report) {
    const NoiseIndicators& figures = report.indicators;
    QString text;
    text += line(QStringLiteral("File"), report.file);
    text += line(QStringLiteral("Logger"), report.serial);
    text += line(QStringLiteral("From"), dateTimeText(report.range, report.range.from));
    text += line(QStringLiteral("To"), dateTimeText(report.range, report.range.to));
    text += line(QStringLiteral("Records"), QStringLiteral("%1 (%2 missing, %3 overloaded)")
                                                .arg(figures.records)
                                                .arg(figures.missing)
                                                .arg(figures.overloads));
    text += line(QStringLiteral("Coverage"), coverageText(figures.coverage));
    text += line(QStringLiteral("Leq"), levelText(figures.leq));
    text += line(QStringLiteral("Lmax"), levelText(figures.lmax));
    text += line(QStringLiteral("Lmin"), levelText(figures.lmin));
    for (const PercentileMean& percentile : figures.percentiles)
        text += line(percentile.name,
                     levelText(percentile.mean) + QStringLiteral(" (mean of interval values)"));
    if (!figures.days.isEmpty()) {
        text += QStringLiteral("Day periods         Lday %1, Levening %2, Lnight %3\n")
                    .arg(hoursText(report.options.day), hoursText(report.options.evening),
                         hoursText(report.options.night));
        for (const DayIndicators& day : figures.days)
            text += line(day.date.toString(Qt::ISODate),
                         QStringLiteral("Lday %1  Levening %2  Lnight %3  Lden %4")
                             .arg(levelText(day.day), levelText(day.evening), levelText(day.night),
                                  levelText(day.den)));
    }
    const CalibrationCheck& calibration = figures.calibration;
    text += line(QStringLiteral("Calibration"),
                 QStringLiteral("pre %1, post %2, drift %3%4")
                     .arg(referenceText(calibration.pre), referenceText(calibration.post),
                          levelText(calibration.drift),
                          calibration.flagged ? QStringLiteral("  FLAGGED") : QString()));
    QString origin = originText(report.origin.state);
    if (report.origin.state != OriginCheck::State::None)
        origin += QStringLiteral(" (logger %1, buffer %2, downloaded %3)")
                      .arg(report.origin.serial, report.origin.buffer, report.origin.downloaded);
    text += line(QStringLiteral("Origin"), origin);
    return text;
}
