#include "NoiseIndicators.h"

#include "DateSerial.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <vector>

namespace {

constexpr qint64 kSecondsPerDay = 86400;
constexpr qint64 kSecondsPerHour = 3600;

// The logger writes a level it could not measure as -.1; no real level is below 0 dB SPL.
bool isMissing(float level) {
    return level < 0.0f;
}

// Whole seconds: the stamps are whole seconds, and integer arithmetic keeps a
// record stamped 07:15 with a 15-minute length exactly at 07:00.
qint64 toSeconds(double serial) {
    return std::llround(serial * DateSerial::kSecondsPerDay);
}

// 10^(L/10). Levels are written to a tenth of a decibel: those come from a
// table, exactly the level as written (the float read back is a hair off it),
// and at a fraction of exp's cost over a million records; any other level is
// computed.
double energy(double level) {
    constexpr int kTableTenths = 2000; // up to 200 dB
    static const std::vector<double> table = [] {
        std::vector<double> powers(kTableTenths + 1);
        for (int tenths = 0; tenths <= kTableTenths; ++tenths)
            powers[std::size_t(tenths)] = std::pow(10.0, tenths / 100.0);
        return powers;
    }();
    const double tenths = level * 10.0;
    const int nearest = int(tenths + 0.5);
    if (tenths >= 0.0 && nearest <= kTableTenths && std::abs(tenths - nearest) < 1e-3)
        return table[std::size_t(nearest)];
    return std::pow(10.0, level / 10.0);
}

double energyLevel(double energySum, qsizetype count) {
    return 10.0 * std::log10(energySum / double(count));
}

const DataSet* setNamed(const GraphData& data, QStringView name) {
    for (const DataSet& set : data.sets)
        if (set.name.compare(name, Qt::CaseInsensitive) == 0)
            return &set;
    return nullptr;
}

// A statistical file has an Lmax column; a short-term Leq file has Leq alone.
bool isStatistical(const GraphData& data) {
    return setNamed(data, u"Lmax") != nullptr;
}

bool isPercentileHeading(const QString& name) {
    static const QRegularExpression heading(QStringLiteral("^L\\d+$"));
    return heading.match(name).hasMatch();
}

std::optional<double> referenceLevel(const GraphData& data, const QString& name) {
    bool ok = false;
    const double level = headerValue(data, name).toDouble(&ok);
    return ok ? std::optional<double>(level) : std::nullopt;
}

CalibrationCheck calibrationCheck(const GraphData& data, double driftLimit) {
    CalibrationCheck check;
    check.pre = referenceLevel(data, QStringLiteral("Pre-measurement Reference"));
    check.post = referenceLevel(data, QStringLiteral("Post-measurement Reference"));
    if (check.pre && check.post)
        check.drift = *check.post - *check.pre;
    // The references are tenths of a decibel: the margin keeps 100.1 - 99.6 at the limit.
    check.flagged = !check.drift || std::abs(*check.drift) > driftLimit + 1e-6;
    return check;
}

// One column's measured values (a missing level left out) over the records in
// the range: their count, sum and extremes, and how many are above zero (an
// overload flag is 20).
struct ColumnSummary {
    qsizetype count = 0;
    qsizetype raised = 0;
    double sum = 0;
    float highest = 0;
    float lowest = 0;
};

// A column to itself, in a loop of its own without branches: the sums stay in
// registers and no record's value mispredicts the next.
ColumnSummary summarise(const std::vector<float>& values,
                        const std::vector<std::uint8_t>& inRange) {
    float highest = -std::numeric_limits<float>::infinity();
    float lowest = std::numeric_limits<float>::infinity();
    qsizetype count = 0;
    qsizetype raised = 0;
    double sum = 0;
    const std::size_t size = std::min(values.size(), inRange.size());
    for (std::size_t i = 0; i < size; ++i) {
        const float value = values[i];
        const bool used = inRange[i] != 0 && !isMissing(value);
        count += used;
        raised += used && value > 0.0f;
        sum += used ? double(value) : 0.0;
        highest = std::max(highest, used ? value : highest);
        lowest = std::min(lowest, used ? value : lowest);
    }
    return {count, raised, sum, highest, lowest};
}

// The three periods' sums for one calendar day.
struct DayAccumulator {
    double energy[3] = {0, 0, 0};
    qsizetype count[3] = {0, 0, 0};
    qint64 seconds[3] = {0, 0, 0}; // lengths of the records with data
};

struct PeriodPlace {
    int period = -1; // 0 day, 1 evening, 2 night; -1 outside all three
    qint64 day = 0;  // the day serial on which the period starts
};

class PeriodFinder {
public:
    explicit PeriodFinder(const IndicatorOptions& options)
        : m_periods{options.day, options.evening, options.night} {}

    PeriodPlace place(qint64 startSecond) const {
        const qint64 day = startSecond >= 0
                               ? startSecond / kSecondsPerDay
                               : -((-startSecond + kSecondsPerDay - 1) / kSecondsPerDay);
        const qint64 second = startSecond - day * kSecondsPerDay;
        for (int p = 0; p < 3; ++p) {
            const qint64 from = m_periods[p].from * kSecondsPerHour;
            const qint64 to = m_periods[p].to * kSecondsPerHour;
            if (from < to) {
                if (second >= from && second < to)
                    return {p, day};
            } else if (second >= from) {
                return {p, day};
            } else if (second < to) {
                return {p, day - 1}; // the small hours belong to the night begun the day before
            }
        }
        return {};
    }

    qint64 periodSeconds(int period) const { return m_periods[period].hours() * kSecondsPerHour; }

private:
    HourRange m_periods[3];
};

QList<DayIndicators> dayIndicators(const std::map<qint64, DayAccumulator>& days,
                                   const PeriodFinder& periods, qint64 recordLength,
                                   const IndicatorOptions& options) {
    QList<DayIndicators> result;
    for (const auto& [day, sums] : days) {
        std::optional<double> levels[3];
        bool coveredWhole = recordLength > 0;
        for (int p = 0; p < 3; ++p) {
            if (sums.count[p] > 0)
                levels[p] = energyLevel(sums.energy[p], sums.count[p]);
            coveredWhole =
                coveredWhole && sums.seconds[p] >= periods.periodSeconds(p) - recordLength;
        }
        DayIndicators entry{.date = DateSerial::toDateTime(double(day)).date(),
                            .day = levels[0],
                            .evening = levels[1],
                            .night = levels[2],
                            .den = std::nullopt};
        if (coveredWhole && levels[0] && levels[1] && levels[2])
            entry.den = denLevel(*levels[0], *levels[1], *levels[2], options);
        result << entry;
    }
    return result;
}

} // namespace

QString periodsError(const IndicatorOptions& options) {
    const HourRange periods[3] = {options.day, options.evening, options.night};
    for (const HourRange& period : periods)
        if (period.from < 0 || period.from > 23 || period.to < 0 || period.to > 23 ||
            period.from == period.to)
            return QStringLiteral("A period runs from one whole hour (0 to 23) to another.");
    if (options.day.to != options.evening.from || options.evening.to != options.night.from ||
        options.night.to != options.day.from)
        return QStringLiteral("The day, evening and night periods must follow one another round "
                              "the clock, each starting where the one before ends.");
    return {};
}

QString headerValue(const GraphData& data, const QString& name) {
    for (const HeaderEntry& entry : data.headers)
        if (entry.name.trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return entry.value.trimmed();
    return {};
}

std::optional<double> recordSeconds(const GraphData& data) {
    const QString text =
        headerValue(data, isStatistical(data) ? QStringLiteral("Statistical Interval")
                                              : QStringLiteral("Short Term Leq Length"));
    static const QRegularExpression length(QStringLiteral("^(\\d+)\\s*(second|minute)s?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = length.match(text);
    if (!match.hasMatch() || match.captured(1).toInt() <= 0)
        return std::nullopt;
    const int count = match.captured(1).toInt();
    return match.captured(2).compare(u"minute", Qt::CaseInsensitive) == 0 ? count * 60.0
                                                                          : double(count);
}

SerialRange wholeFileRange(const GraphData& data) {
    if (data.times.empty())
        return {};
    const auto [first, last] = std::minmax_element(data.times.begin(), data.times.end());
    const double length = recordSeconds(data).value_or(0.0) / DateSerial::kSecondsPerDay;
    return {*first - length, length > 0 ? *last : *last + 1.0 / DateSerial::kSecondsPerDay};
}

double denLevel(double day, double evening, double night, const IndicatorOptions& options) {
    const double sum = options.day.hours() * energy(day) +
                       options.evening.hours() * energy(evening + 5.0) +
                       options.night.hours() * energy(night + 10.0);
    return 10.0 * std::log10(sum / 24.0);
}

NoiseIndicators computeIndicators(const GraphData& data, SerialRange range,
                                  const IndicatorOptions& options) {
    NoiseIndicators result;
    result.calibration = calibrationCheck(data, options.driftLimit);
    result.recordSeconds = recordSeconds(data);
    const DataSet* leq = setNamed(data, u"Leq");
    if (!leq)
        return result;

    // The time stamps and the Leq in one pass, which marks the records in the
    // range for the other columns' passes.
    const qint64 length = std::llround(result.recordSeconds.value_or(0.0));
    const qint64 from = toSeconds(range.from);
    const qint64 to = toSeconds(range.to);
    const PeriodFinder periods(options);
    std::map<qint64, DayAccumulator> days;
    DayAccumulator* day = nullptr;
    qint64 dayNumber = 0;
    double energySum = 0;
    qsizetype withData = 0;
    qint64 secondsWithData = 0;
    const std::size_t count = data.times.size();
    std::vector<std::uint8_t> inRange(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const qint64 end = toSeconds(data.times[i]);
        const qint64 start = end - length;
        if (start < from || start >= to)
            continue;
        inRange[i] = 1;
        ++result.records;
        if (i >= leq->values.size() || isMissing(leq->values[i])) {
            ++result.missing;
            continue;
        }
        const double recordEnergy = energy(leq->values[i]);
        energySum += recordEnergy;
        ++withData;
        secondsWithData += std::min(end, to) - start;
        const PeriodPlace place = periods.place(start);
        if (place.period >= 0) {
            // Records come in time order: the day is nearly always the last one's.
            if (!day || place.day != dayNumber) {
                dayNumber = place.day;
                day = &days[dayNumber];
            }
            day->energy[place.period] += recordEnergy;
            ++day->count[place.period];
            day->seconds[place.period] += length;
        }
    }
    if (withData > 0)
        result.leq = energyLevel(energySum, withData);
    if (length > 0 && to > from)
        result.coverage = std::min(1.0, double(secondsWithData) / double(to - from));
    result.days = dayIndicators(days, periods, length, options);

    const bool statistical = isStatistical(data);
    if (const DataSet* highest = statistical ? setNamed(data, u"Lmax") : leq) {
        const ColumnSummary summary = summarise(highest->values, inRange);
        if (summary.count > 0)
            result.lmax = summary.highest;
    }
    if (const DataSet* lowest = statistical ? setNamed(data, u"Lmin") : leq) {
        const ColumnSummary summary = summarise(lowest->values, inRange);
        if (summary.count > 0)
            result.lmin = summary.lowest;
    }
    if (const DataSet* overload = setNamed(data, u"Overload"))
        result.overloads = summarise(overload->values, inRange).raised;
    for (const DataSet& set : data.sets) {
        if (!isPercentileHeading(set.name))
            continue;
        const ColumnSummary summary = summarise(set.values, inRange);
        result.percentiles << PercentileMean{
            set.name, summary.count > 0 ? std::optional<double>(summary.sum / double(summary.count))
                                        : std::nullopt};
    }
    return result;
}
