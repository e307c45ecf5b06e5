#include "ReportJson.h"

#include "DateSerial.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

QJsonValue level(std::optional<double> value) {
    return value ? QJsonValue(roundedLevel(*value)) : QJsonValue(QJsonValue::Null);
}

QJsonValue dateTime(const SerialRange& range, double serial) {
    if (range.isEmpty())
        return QJsonValue::Null;
    return DateSerial::toDateTime(serial).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QJsonValue text(const QString& value) {
    return value.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(value);
}

QJsonObject origin(const OriginCheck& check) {
    QJsonObject object{{"state", originKey(check.state)}};
    if (check.state == OriginCheck::State::None)
        return object;
    bool numbered = false;
    const int buffer = check.buffer.toInt(&numbered);
    object.insert("serial", text(check.serial));
    object.insert("buffer", numbered ? QJsonValue(buffer) : text(check.buffer));
    object.insert("downloaded", text(check.downloaded));
    return object;
}

} // namespace

QByteArray reportJsonLine(const IndicatorsReport& report) {
    const NoiseIndicators& figures = report.indicators;
    QJsonObject object{
        {"file", report.file},
        {"serial", text(report.serial)},
        {"from", dateTime(report.range, report.range.from)},
        {"to", dateTime(report.range, report.range.to)},
        {"records", figures.records},
        {"missing", figures.missing},
        {"overloads", figures.overloads},
        {"coverage", figures.coverage ? QJsonValue(std::round(*figures.coverage * 1000.0) / 1000.0)
                                      : QJsonValue(QJsonValue::Null)},
        {"Leq", level(figures.leq)},
        {"Lmax", level(figures.lmax)},
        {"Lmin", level(figures.lmin)},
    };
    for (const PercentileMean& percentile : figures.percentiles)
        object.insert(percentile.name, level(percentile.mean));
    QJsonArray days;
    for (const DayIndicators& day : figures.days)
        days.append(QJsonObject{{"date", day.date.toString(Qt::ISODate)},
                                {"Lday", level(day.day)},
                                {"Levening", level(day.evening)},
                                {"Lnight", level(day.night)},
                                {"Lden", level(day.den)}});
    object.insert("days", days);
    const CalibrationCheck& calibration = figures.calibration;
    object.insert("calibration", QJsonObject{{"pre", level(calibration.pre)},
                                             {"post", level(calibration.post)},
                                             {"drift", level(calibration.drift)},
                                             {"flagged", calibration.flagged}});
    object.insert("origin", origin(report.origin));
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}
