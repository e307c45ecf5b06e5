#include "Report.h"

#include "DataFileReader.h"
#include "IndicatorsReport.h"
#include "OriginCheck.h"
#include "ReportJson.h"

#include <QFileInfo>

#include <cstdio>

namespace {

void reportError(const QString& file, const QString& message) {
    std::fprintf(stderr, "qn7x-report: %s: %s\n", qPrintable(file),
                 qPrintable(message.simplified()));
}

// The reader's own words for why a file gave nothing.
QString readFailure(const ReadResult& read) {
    if (read.status == ReadResult::Status::BadFileType)
        return ReaderMessages::kBadFileType;
    return ReaderMessages::failure(read.error);
}

} // namespace

int runReport(const ReportOptions& options) {
    int exitCode = ReportExit::Complete;
    bool first = true;
    for (const QString& path : options.files) {
        if (!QFileInfo(path).isFile()) {
            reportError(path, QStringLiteral("no such file"));
            exitCode = ReportExit::FileError;
            continue;
        }
        const ReadResult read = readDataFile(
            path,
            ReadOptions{.locale = options.locale, .referenceYear = std::nullopt, .progress = {}});
        if (read.status != ReadResult::Status::Read) {
            reportError(path, readFailure(read));
            exitCode = ReportExit::FileError;
            continue;
        }
        const SerialRange whole = wholeFileRange(read.data);
        const SerialRange range{options.from.value_or(whole.from), options.to.value_or(whole.to)};
        IndicatorsReport report =
            makeReport(path, read.data, range, options.indicators, checkOrigin(path));
        report.file = path; // as given, so that a script finds it again
        if (options.json) {
            std::fputs(reportJsonLine(report).constData(), stdout);
        } else {
            if (!first)
                std::fputs("\n", stdout);
            std::fputs(reportText(report).toUtf8().constData(), stdout);
        }
        first = false;
    }
    if (std::fflush(stdout) != 0) {
        reportError(QStringLiteral("standard output"), QStringLiteral("cannot be written"));
        return ReportExit::FileError;
    }
    return exitCode;
}
