// qn7x-report: the noise indicators of data files. See qn7x-report.1.in.
#include "Report.h"
#include "ReportOptions.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const ParsedReportOptions parsed = parseReportOptions(app.arguments().mid(1));
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "qn7x-report: %s (see --help)\n", qPrintable(parsed.error));
        return ReportExit::Usage;
    }
    if (parsed.options.help || parsed.options.version) {
        std::fputs(parsed.options.help ? ReportUsage : "qn7x-report " HUSHMARK_VERSION "\n",
                   stdout);
        return ReportExit::Complete;
    }
    return runReport(parsed.options);
}
