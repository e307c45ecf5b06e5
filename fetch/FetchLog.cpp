#include "FetchLog.h"

#include <cstdio>

namespace {

QString firstError;

void LogLine(const QString& text) {
    // Operator texts carry "\r" line breaks; a log line has none.
    std::fprintf(stderr, "qn7x-fetch: %s\n", qPrintable(text.simplified()));
}

} // namespace

void FetchError(const QString& text) {
    if (firstError.isEmpty())
        firstError = text.simplified();
    LogLine(text);
}

void FetchNote(const QString& text) {
    LogLine(text);
}

QString FirstFetchError() {
    return firstError;
}

void ForgetFetchErrors() {
    firstError.clear();
}
