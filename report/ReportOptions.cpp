#include "ReportOptions.h"

#include "DateSerial.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QRegularExpression>

const char* const ReportUsage =
    "Usage: qn7x-report FILE... [options]\n"
    "The noise indicators of QN-7x data files (_Sta.csv or _Leq<n>.csv): Leq, Lmax,\n"
    "Lmin, the mean of each percentile column, records, missing values, overloads,\n"
    "coverage, Lday, Levening, Lnight and Lden per day, the calibration drift, and\n"
    "whether each file is still as downloaded (BASE_Manifest.json beside it).\n"
    "\n"
    "  --from DATETIME      from this time (ISO 8601, 2024-05-27T07:00); default:\n"
    "                       the file's first record\n"
    "  --to DATETIME        to this time; default: the file's last record\n"
    "  --day HH-HH          the day period; default 07-19\n"
    "  --evening HH-HH      the evening period; default 19-23\n"
    "  --night HH-HH        the night period; default 23-07\n"
    "  --drift-limit DB     flag a calibration drift beyond this; default 0.5\n"
    "  --date-format LOCALE  read dates in the short date format of the locale\n"
    "                       named (en_GB, en_US, de_DE); default: the system's\n"
    "  --json               one line of JSON per file\n"
    "  -V, --version        the version\n"
    "  -h, --help           this text\n"
    "\n"
    "Exit codes: 0 done, 2 usage, 6 a file could not be read.\n";

namespace {

std::optional<double> dateTimeSerial(const QString& text) {
    const QDateTime dateTime = QDateTime::fromString(text, Qt::ISODate);
    if (!dateTime.isValid())
        return std::nullopt;
    return DateSerial::fromDateTime(dateTime);
}

std::optional<HourRange> hourRange(const QString& text) {
    static const QRegularExpression range(QStringLiteral("^(\\d{1,2})-(\\d{1,2})$"));
    const QRegularExpressionMatch match = range.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return HourRange{match.captured(1).toInt(), match.captured(2).toInt()};
}

} // namespace

ParsedReportOptions parseReportOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption from(QStringLiteral("from"), {}, QStringLiteral("DATETIME"));
    const QCommandLineOption to(QStringLiteral("to"), {}, QStringLiteral("DATETIME"));
    const QCommandLineOption day(QStringLiteral("day"), {}, QStringLiteral("HH-HH"));
    const QCommandLineOption evening(QStringLiteral("evening"), {}, QStringLiteral("HH-HH"));
    const QCommandLineOption night(QStringLiteral("night"), {}, QStringLiteral("HH-HH"));
    const QCommandLineOption driftLimit(QStringLiteral("drift-limit"), {}, QStringLiteral("DB"));
    const QCommandLineOption dateFormat(QStringLiteral("date-format"), {},
                                        QStringLiteral("LOCALE"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("V"), QStringLiteral("version")});
    parser.addOptions({from, to, day, evening, night, driftLimit, dateFormat, json, help, version});

    ParsedReportOptions parsed;
    ReportOptions& options = parsed.options;
    if (!parser.parse(QStringList{QStringLiteral("qn7x-report")} + arguments))
        return {{}, parser.errorText()};
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    options.json = parser.isSet(json);
    options.files = parser.positionalArguments();
    if (options.help || options.version)
        return parsed;
    if (options.files.isEmpty())
        return {{}, QStringLiteral("no data file named")};

    for (const auto& [option, bound] : {std::pair{&from, &options.from}, {&to, &options.to}}) {
        if (!parser.isSet(*option))
            continue;
        *bound = dateTimeSerial(parser.value(*option));
        if (!*bound)
            return {
                {},
                QStringLiteral("--%1 takes a date and time such as 2024-05-27T07:00, not \"%2\"")
                    .arg(option->names().first(), parser.value(*option))};
    }
    if (options.from && options.to && *options.to <= *options.from)
        return {{}, QStringLiteral("--to must come after --from")};

    for (const auto& [option, period] : {std::pair{&day, &options.indicators.day},
                                         {&evening, &options.indicators.evening},
                                         {&night, &options.indicators.night}}) {
        if (!parser.isSet(*option))
            continue;
        const std::optional<HourRange> hours = hourRange(parser.value(*option));
        if (!hours)
            return {{},
                    QStringLiteral("--%1 takes two hours such as 07-19, not \"%2\"")
                        .arg(option->names().first(), parser.value(*option))};
        *period = *hours;
    }
    if (const QString error = periodsError(options.indicators); !error.isEmpty())
        return {{}, error};

    if (parser.isSet(driftLimit)) {
        bool ok = false;
        options.indicators.driftLimit = parser.value(driftLimit).toDouble(&ok);
        if (!ok || options.indicators.driftLimit < 0)
            return {{},
                    QStringLiteral("--drift-limit takes a level in dB such as 0.5, not \"%1\"")
                        .arg(parser.value(driftLimit))};
    }
    if (parser.isSet(dateFormat)) {
        options.locale = QLocale(parser.value(dateFormat));
        if (options.locale == QLocale::c() && parser.value(dateFormat) != u'C')
            return {{},
                    QStringLiteral("--date-format takes a locale name such as en_GB, not "
                                   "\"%1\"")
                        .arg(parser.value(dateFormat))};
    }
    return parsed;
}
