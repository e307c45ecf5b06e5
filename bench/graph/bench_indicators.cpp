// How fast the noise indicators come from a long survey: a statistical file of
// 1,000,000 one-minute records (almost two years) read once, then the
// indicators over the whole of it (target under 50 ms), and qn7x-report run on
// the same file, whose time should be the reader's (the indicators and the
// SHA-256 of the origin check add little): both as whole programs, since a new
// process first touches every page of its memory.
//
// Usage: bench_indicators [--keep <folder>]   (keeps the file there)
//        bench_indicators --read FILE         (reads the file and ends: the reader alone)

#include "BenchRun.h"
#include "DataFileReader.h"
#include "DataFileWriter.h"
#include "NoiseIndicators.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

const QLocale kLocale(QStringLiteral("en_GB"));
constexpr int kRecords = 1000000;
constexpr int kRuns = 5;
constexpr double kIndicatorsTargetMs = 50.0;

QTextStream out(stdout);

QString writeSurvey(const QDir& folder) {
    using namespace DataFileWriter;
    const QDateTime start(QDate(2003, 1, 6), QTime(0, 0), Qt::UTC);
    const std::vector<Row> rows = statisticalRows(start.addSecs(60), kRecords, 1);
    QList<HeaderLine> header = typicalHeader(kLocale, start, rows.back().time, false);
    for (HeaderLine& line : header)
        if (line.name == u"Statistical Interval")
            line.value = QStringLiteral("1 minute");
    const QString path = folder.filePath(QStringLiteral("survey_Sta.csv"));
    writeFile(path, statisticalFile(kLocale, header, statisticalColumns(), rows));
    return path;
}

ReadResult readSurvey(const QString& path) {
    ReadOptions options;
    options.locale = kLocale;
    return readDataFile(path, options);
}

// The wall time of a program's run, best of a few, in ms; negative when it fails.
double programMs(const QString& program, const QStringList& arguments) {
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        if (!process.waitForFinished(600000) || process.exitCode() != 0) {
            out << program << " failed: " << process.readAllStandardError() << "\n";
            return -1.0;
        }
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (app.arguments().size() == 3 && app.arguments()[1] == u"--read")
        return readSurvey(app.arguments()[2]).data.hasData() ? 0 : 1;
    QTemporaryDir temporary;
    const QStringList arguments = app.arguments();
    const QDir folder = KeptFolder(arguments, QDir(temporary.path()));
    out << "Writing a statistical file of " << kRecords << " records in " << folder.path()
        << " ...\n";
    out.flush();
    const QString path = writeSurvey(folder);
    const double mb = QFileInfo(path).size() / 1e6;

    ReadResult read;
    const double readMs = bestOf(1, [&] { read = readSurvey(path); });
    if (read.status != ReadResult::Status::Read || !read.data.hasData()) {
        out << "cannot read " << path << "\n";
        return 1;
    }
    NoiseIndicators figures;
    const SerialRange range = wholeFileRange(read.data);
    const double indicatorsMs =
        bestOf(kRuns, [&] { figures = computeIndicators(read.data, range); });
    // The processor time too: on a shared machine the wall time holds other programs' turns.
    double indicatorsCpuMs = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        const std::clock_t before = std::clock();
        figures = computeIndicators(read.data, range);
        indicatorsCpuMs =
            std::min(indicatorsCpuMs, (std::clock() - before) * 1000.0 / CLOCKS_PER_SEC);
    }

    const double readerMs =
        programMs(QCoreApplication::applicationFilePath(), {QStringLiteral("--read"), path});
    const double reportMs = programMs(
        QCoreApplication::applicationDirPath() + QStringLiteral("/qn7x-report"),
        {path, QStringLiteral("--json"), QStringLiteral("--date-format"), kLocale.name()});

    out << "\n"
        << QFileInfo(path).fileName() << ": " << read.data.pointCount() << " records, "
        << QString::number(mb, 'f', 1) << " MB, " << figures.days.size() << " days\n";
    out << "  read             " << QString::number(readMs, 'f', 1)
        << " ms  = " << QString::number(mb / (readMs / 1000.0), 'f', 1) << " MB/s\n";
    out << "  indicators       " << QString::number(indicatorsMs, 'f', 1) << " ms ("
        << QString::number(indicatorsCpuMs, 'f', 1) << " ms of processor time)"
        << (indicatorsMs < kIndicatorsTargetMs ? "  (target < 50 ms met)"
                                               : "  (target < 50 ms MISSED)")
        << "\n";
    if (readerMs < 0 || reportMs < 0)
        return 1;
    out << "  reader alone     " << QString::number(readerMs, 'f', 1)
        << " ms  = " << QString::number(mb / (readerMs / 1000.0), 'f', 1)
        << " MB/s, a program that reads the file and ends\n";
    out << "  qn7x-report      " << QString::number(reportMs, 'f', 1)
        << " ms  = " << QString::number(mb / (reportMs / 1000.0), 'f', 1) << " MB/s, "
        << QString::number(readerMs / reportMs * 100.0, 'f', 0) << "% of the reader's speed\n";
    out << "\n(indicators best of " << kRuns
        << " runs, the read in this process one run, the programs best of 3)\n";
    out.flush();
    return 0;
}
