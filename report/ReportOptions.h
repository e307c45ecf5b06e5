#pragma once

// The command line of qn7x-report and its exit codes.

#include "NoiseIndicators.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

// The numbers qn7x-fetch gives the same outcomes, so that one script reads both.
namespace ReportExit {
constexpr int Complete = 0;
constexpr int Usage = 2;
constexpr int FileError = 6; // a file could not be read as a data file
} // namespace ReportExit

struct ReportOptions {
    QStringList files;
    std::optional<double> from; // day serials; nothing: the file's first record
    std::optional<double> to;   // nothing: the file's last record
    IndicatorOptions indicators;
    QLocale locale = QLocale::system(); // the files' date format
    bool json = false;
    bool help = false;
    bool version = false;
};

struct ParsedReportOptions {
    ReportOptions options = {};
    QString error = {}; // empty when the line was understood
};

// arguments without the program name.
ParsedReportOptions parseReportOptions(const QStringList& arguments);

extern const char* const ReportUsage;
