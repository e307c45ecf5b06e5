#pragma once

#include "GraphData.h"

#include <QLocale>
#include <QString>

#include <functional>
#include <optional>

// Reads a data file written by the host's download (statistical or short-term
// Leq file) into a GraphData. A plain module without windows: progress goes to a
// callback and every outcome comes back as a value, so that the viewer shows the
// messages and the tests run headless. Texts are UTF-8, as the host writes
// them; a text that is not UTF-8 (an older or foreign file) is read one byte a
// character rather than garbled.

// The run-time failures of a read, numbered as the viewer's message shows them.
enum class ReadErrorCode {
    None = 0,
    EmptyHeaderValue = 5, // a header line with nothing after its name
    Overflow = 6,         // a level too large for a single-precision number
    NoEarlierTime = 9,    // a row without date and time before any dated row
    TypeMismatch = 13,    // a time or value that does not convert
    FileNotFound = 53,
    PastEndOfFile = 62, // the file ends inside the header or inside a row
    FileAccess = 75,    // the file exists but cannot be read
};

struct ReadError {
    ReadErrorCode code = ReadErrorCode::None;
    QString description;
};

struct ReadResult {
    enum class Status {
        Read,        // data holds what the file gave (possibly no data)
        BadFileType, // no maker's banner: data is empty
        Failed,      // a run-time failure: error says which; data is empty
    };
    Status status = Status::Read;
    GraphData data;
    ReadError error;
    // Rows left out because their date field holds no date, or a date far from
    // the rows on both sides of it: a damaged time stamp in the logger's memory
    // is written that way, and its values have no time to be drawn at.
    int skippedRows = 0;
};

struct ReadOptions {
    // Dates are read in this locale's short date format, the one the host wrote
    // them in.
    QLocale locale = QLocale::system();
    // The year two-digit dates are taken to lie near (see ShortDateParser) until
    // the rows run over the end of a century: when not given, the year the file
    // was last written, or this year for bytes.
    std::optional<int> referenceYear;
    // Called with 0 to 100 whenever the read position's percentage changes.
    std::function<void(int percent)> progress;
};

ReadResult readDataFile(const QString& path, const ReadOptions& options = {});
ReadResult readDataBytes(QByteArrayView bytes, const ReadOptions& options = {});

// The message texts of the reader's outcomes, as the viewer shows them.
namespace ReaderMessages {
inline const QString kBadFileTypeTitle = QStringLiteral("Bad File Type");
inline const QString kBadFileType = QStringLiteral("This is not an Orv statistical data file.");
QString failure(const ReadError& error);
QString skippedRows(int count);
} // namespace ReaderMessages
