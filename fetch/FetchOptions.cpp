#include "FetchOptions.h"

#include "HostSettings.h"

#include <QCommandLineParser>

#include <algorithm>

const char* const FetchUsage =
    "Usage: qn7x-fetch [PORT|DEVICE] [options]\n"
    "Links to a QN-7x logger, lists or downloads its buffers into data files, and\n"
    "unlinks (\"n\", modem hang-up, port closed), also on SIGINT, SIGTERM and SIGHUP.\n"
    "Files are written as NAME.part and renamed when the download is complete;\n"
    "BASE_Manifest.json then gives each file's size and SHA-256.\n"
    "\n"
    "  PORT|DEVICE        a port number (its device from the \"Comms\" settings of\n"
    "                     Hushmark) or a device path; default: Hushmark's port\n"
    "  --baud RATE        1200, 2400, 4800, 9600 or 19200; default: Hushmark's\n"
    "  --modem NUMBER     dial NUMBER through a Hayes modem on the port\n"
    "  --init STRING      the modem's initialisation string; default: Hushmark's\n"
    "  --list             list the buffers: number, title, start, stop, interval,\n"
    "                     block count\n"
    "  --buffer N[,N...]  download buffer N (1 is the oldest); repeatable; \"all\"\n"
    "                     downloads every buffer, each into its own files\n"
    "  --all              download the whole memory (with BASE_Hdr.csv)\n"
    "  --base PATH        the data files' base: PATH_Sta.csv, PATH.log,\n"
    "                     PATH_Leq0.csv...; with several buffers PATH_B1_Sta.csv...\n"
    "  --date-format LOC  dates in the short date format of locale LOC (en_GB,\n"
    "                     en_US, de_DE, ...); default: the system's\n"
    "  --json             a JSON summary on standard output\n"
    "  --clear-after      clear the downloaded buffers from the most recent down,\n"
    "                     each only when its download was complete and is on the\n"
    "                     disk, its recording had ended and the logger still\n"
    "                     announces the blocks written\n"
    "  --help             this text\n"
    "\n"
    "Exit codes: 0 complete, 1 Comlane missing, 2 usage, 3 no logger, 4 port error,\n"
    "5 link lost or parameters unread, 6 file or output error, 7 incomplete download,\n"
    "8 stopped by a signal, "
    "9 not cleared.\n";

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

} // namespace

ParsedOptions ParseFetchOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption baud("baud", {}, "RATE");
    const QCommandLineOption modem("modem", {}, "NUMBER");
    const QCommandLineOption init("init", {}, "STRING");
    const QCommandLineOption list("list");
    const QCommandLineOption buffer("buffer", {}, "N");
    const QCommandLineOption all("all");
    const QCommandLineOption base("base", {}, "PATH");
    const QCommandLineOption dateFormat("date-format", {}, "LOCALE");
    const QCommandLineOption json("json");
    const QCommandLineOption clearAfter("clear-after");
    const QCommandLineOption help("help");
    parser.addOptions(
        {baud, modem, init, list, buffer, all, base, dateFormat, json, clearAfter, help});

    ParsedOptions parsed;
    FetchOptions& options = parsed.options;
    const auto fail = [&parsed](const QString& error) {
        parsed.error = error;
        return parsed;
    };
    if (!parser.parse(QStringList{QStringLiteral("qn7x-fetch")} + arguments))
        return fail(parser.errorText());
    options.help = parser.isSet(help);
    if (options.help)
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
    options.list = parser.isSet(list);
    for (const QString& value : parser.values(buffer))
        if (!AddBuffers(value, options))
            return fail(QStringLiteral("no buffer %1: buffers are 1 to %2, or all")
                            .arg(value)
                            .arg(MaxBuffer));
    std::sort(options.buffers.begin(), options.buffers.end());
    options.wholeMemory = parser.isSet(all);
    if (options.wholeMemory && (options.everyBuffer || !options.buffers.isEmpty()))
        return fail(QStringLiteral("--all is the whole memory: not with --buffer"));
    options.base = parser.value(base);
    if (options.downloads() && options.base.isEmpty())
        return fail(QStringLiteral("a download needs --base"));
    if (!options.downloads() && !options.list)
        return fail(QStringLiteral("nothing to do: give --list, --buffer or --all"));
    if (parser.isSet(dateFormat)) {
        const QString name = parser.value(dateFormat);
        options.locale = QLocale(name);
        // An unknown name gives the C locale, which is no one's choice by mistake.
        if (options.locale == QLocale::c() && name != QStringLiteral("C"))
            return fail(QStringLiteral("no locale %1").arg(name));
    }
    options.json = parser.isSet(json);
    options.clearAfter = parser.isSet(clearAfter);
    if (options.clearAfter && !options.downloads())
        return fail(QStringLiteral("--clear-after needs a download"));
    return parsed;
}
