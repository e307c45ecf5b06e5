#include "FetchOptions.h"

#include "BaseName.h"
#include "HostSettings.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <algorithm>
#include <tuple>

const char* const FetchUsage =
    "Usage: qn7x-fetch [PORT|DEVICE] [options]\n"
    "Links to a QN-7x logger, reports its state, lists or downloads its buffers into\n"
    "data files, and unlinks (\"n\", modem hang-up, port closed), also on SIGINT,\n"
    "SIGTERM, SIGHUP and at --max-time. Files are written as NAME.part and renamed\n"
    "when the download is complete; BASE_Manifest.json then gives each file's size\n"
    "and SHA-256.\n"
    "\n"
    "  PORT|DEVICE          a port number (its device from the \"Comms\" settings of\n"
    "                       Hushmark) or a device path; default: Hushmark's port\n"
    "  --baud RATE          1200, 2400, 4800, 9600 or 19200; default: Hushmark's\n"
    "  --modem NUMBER       dial NUMBER through a Hayes modem on the port\n"
    "  --init STRING        the modem's initialisation string; default: Hushmark's\n"
    "  --expect-serial SERIAL  stop before any download or clear when another\n"
    "                       logger answers (16-498-400 or 16498400)\n"
    "  --retries N          try the link N more times when it fails for a reason\n"
    "                       that may pass (busy, no answer, port in use); default 0\n"
    "  --retry-delay SECONDS  between tries; default 60\n"
    "  --max-time SECONDS   stop the whole run after this long, as on a signal\n"
    "  --status             report the logger's state: serial, firmware, mode,\n"
    "                       battery, temperature, memory, clock, buffers\n"
    "  --list               list the buffers: number, title, start, stop, interval,\n"
    "                       block count\n"
    "  --buffer N[,N...]    download buffer N (1 is the oldest); repeatable; \"all\"\n"
    "                       downloads every buffer, each into its own files\n"
    "  --whole-memory       download the whole memory (with BASE_Hdr.csv)\n"
    "  --all                the same as --whole-memory: the memory, not every\n"
    "                       buffer (that is --buffer all)\n"
    "  --base PATH          the data files' base: PATH_Sta.csv, PATH.log,\n"
    "                       PATH_Leq0.csv...; it may hold {serial}, {buffer},\n"
    "                       {start} and {title} ({{ and }} for braces); missing\n"
    "                       folders are made; with several buffers and neither\n"
    "                       {buffer} nor {start}, PATH_B1_Sta.csv...\n"
    "  --overwrite          download again a buffer whose complete download is\n"
    "                       already under its base (otherwise it is skipped)\n"
    "  --date-format LOCALE  write dates in the short date format of the locale\n"
    "                       named (en_GB: 31/12/2026, en_US: 12/31/26, de_DE:\n"
    "                       31.12.26); default: the system's, as the window writes\n"
    "  --clear-after        clear the downloaded buffers from the most recent down,\n"
    "                       each only when its download is whole and on the disk,\n"
    "                       its recording had ended and the logger still announces\n"
    "                       the blocks written\n"
    "  --json               one line of JSON on standard output (see the manual)\n"
    "  -q, --quiet          no progress bar, even on a terminal\n"
    "  -V, --version        the version\n"
    "  -h, --help           this text\n"
    "\n"
    "Exit codes: 0 complete; try again later: 3 no logger answered or the modem did\n"
    "not connect, 5 link lost or parameters unread, 7 incomplete download, 11 port\n"
    "in use; change the set-up: 1 Comlane missing, 2 usage, 4 no such device, no\n"
    "permission or not a serial port, 10 wrong logger; also 6 file or output error,\n"
    "8 stopped by a signal or --max-time, 9 downloaded but not cleared.\n";

namespace {

constexpr int MaxPort = 99;
constexpr qint16 MaxBuffer = 8;

// "3", "1,2" or "all" into options; false when a number is no buffer.
bool AddBuffers(const QString& value, FetchOptions& options) {
    if (value == QStringLiteral("all")) {
        options.everyBuffer = true;
        return true;
    }
    for (const QString& part : value.split(u',')) {
        bool ok = false;
        const int buffer = part.trimmed().toInt(&ok);
        if (!ok || buffer < 1 || buffer > MaxBuffer)
            return false;
        if (!options.buffers.contains(qint16(buffer)))
            options.buffers << qint16(buffer);
    }
    return true;
}

// "16-498-400" or "16498400" as the number; -1 for anything else.
qint32 SerialFromText(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{2}-\\d{3}-\\d{3}|\\d{1,8})$"));
    if (!form.match(text).hasMatch())
        return -1;
    return QString(text).remove(u'-').toInt();
}

} // namespace

ParsedOptions ParseFetchOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption baud("baud", {}, "RATE");
    const QCommandLineOption modem("modem", {}, "NUMBER");
    const QCommandLineOption init("init", {}, "STRING");
    const QCommandLineOption expectSerial("expect-serial", {}, "SERIAL");
    const QCommandLineOption retries("retries", {}, "N");
    const QCommandLineOption retryDelay("retry-delay", {}, "SECONDS");
    const QCommandLineOption maxTime("max-time", {}, "SECONDS");
    const QCommandLineOption status("status");
    const QCommandLineOption list("list");
    const QCommandLineOption buffer("buffer", {}, "N");
    const QCommandLineOption wholeMemory(QStringList{"whole-memory", "all"});
    const QCommandLineOption base("base", {}, "PATH");
    const QCommandLineOption overwrite("overwrite");
    const QCommandLineOption dateFormat("date-format", {}, "LOCALE");
    const QCommandLineOption clearAfter("clear-after");
    const QCommandLineOption json("json");
    const QCommandLineOption quiet(QStringList{"q", "quiet"});
    const QCommandLineOption version(QStringList{"V", "version"});
    const QCommandLineOption help(QStringList{"h", "help"});
    parser.addOptions({baud, modem, init, expectSerial, retries, retryDelay, maxTime, status, list,
                       buffer, wholeMemory, base, overwrite, dateFormat, clearAfter, json, quiet,
                       version, help});

    ParsedOptions parsed;
    FetchOptions& options = parsed.options;
    const auto fail = [&parsed](const QString& error) {
        parsed.error = error;
        return parsed;
    };
    if (!parser.parse(QStringList{QStringLiteral("qn7x-fetch")} + arguments))
        return fail(parser.errorText());
    options.json = parser.isSet(json);
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    if (options.help || options.version)
        return parsed;

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return fail(QStringLiteral("one port or device only"));
    if (!positional.isEmpty()) {
        bool number = false;
        const int port = positional.first().toInt(&number);
        if (!number)
            options.device = positional.first();
        else if (port < 1 || port > MaxPort)
            return fail(QStringLiteral("no port %1: ports are 1 to %2").arg(port).arg(MaxPort));
        else
            options.port = qint16(port);
    }
    if (parser.isSet(baud)) {
        options.baud = parser.value(baud).toInt();
        if (!HostSettings::IsMenuBaudRate(options.baud))
            return fail(QStringLiteral("no baud rate %1").arg(parser.value(baud)));
    }
    options.modemNumber = parser.value(modem);
    options.modemInit = parser.value(init);
    if (parser.isSet(modem) && options.modemNumber.isEmpty())
        return fail(QStringLiteral("--modem needs a number"));
    if (parser.isSet(init) && !parser.isSet(modem))
        return fail(QStringLiteral("--init goes with --modem"));
    if (parser.isSet(expectSerial)) {
        options.expectedSerial = SerialFromText(parser.value(expectSerial));
        if (options.expectedSerial < 0)
            return fail(QStringLiteral("no serial number %1: give it as 16-498-400 or 16498400")
                            .arg(parser.value(expectSerial)));
    }
    for (const auto& [option, target, lowest] :
         {std::tuple{&retries, &options.retries, 0},
          std::tuple{&retryDelay, &options.retryDelaySeconds, 0},
          std::tuple{&maxTime, &options.maxTimeSeconds, 1}}) {
        if (!parser.isSet(*option))
            continue;
        bool ok = false;
        *target = parser.value(*option).toInt(&ok);
        if (!ok || *target < lowest)
            return fail(QStringLiteral("--%1 takes a whole number from %2")
                            .arg(option->names().constFirst())
                            .arg(lowest));
    }
    options.status = parser.isSet(status);
    options.list = parser.isSet(list);
    for (const QString& value : parser.values(buffer))
        if (!AddBuffers(value, options))
            return fail(QStringLiteral("no buffer %1: buffers are 1 to %2, or all")
                            .arg(value)
                            .arg(MaxBuffer));
    std::sort(options.buffers.begin(), options.buffers.end());
    options.wholeMemory = parser.isSet(wholeMemory);
    if (options.wholeMemory && (options.everyBuffer || !options.buffers.isEmpty()))
        return fail(QStringLiteral("--whole-memory (--all) is the memory as one download: not "
                                   "with --buffer (\"--buffer all\" downloads every buffer)"));
    options.base = parser.value(base);
    if (options.downloads() && options.base.isEmpty())
        return fail(QStringLiteral("a download needs --base"));
    if (const QString error = ExpandBase(options.base, {}).error; !error.isEmpty())
        return fail(error);
    options.overwrite = parser.isSet(overwrite);
    if (!options.downloads() && !options.list && !options.status)
        return fail(
            QStringLiteral("nothing to do: give --status, --list, --buffer or --whole-memory"));
    options.dateFormatGiven = parser.isSet(dateFormat);
    if (options.dateFormatGiven) {
        const QString name = parser.value(dateFormat);
        options.locale = QLocale(name);
        // An unknown name gives the C locale, which is no one's choice by mistake.
        if (options.locale == QLocale::c() && name != QStringLiteral("C"))
            return fail(QStringLiteral("no locale %1: --date-format takes a locale name such as "
                                       "en_GB")
                            .arg(name));
    }
    options.quiet = parser.isSet(quiet);
    options.clearAfter = parser.isSet(clearAfter);
    if (options.clearAfter && !options.downloads())
        return fail(QStringLiteral("--clear-after needs a download"));
    return parsed;
}
