#pragma once

#include <QString>

// Whether a data file is still what the logger gave: qn7x-fetch writes
// BASE_Manifest.json beside a download's files with each file's size and
// SHA-256.
struct OriginCheck {
    enum class State {
        None,     // no manifest beside the file, or it does not list the file
        Verified, // size and SHA-256 as the manifest lists them
        Changed,  // the file differs from what was downloaded
    };
    State state = State::None;
    QString serial;     // the logger's, as the manifest names it
    QString buffer;     // "1" to "8", or "memory"
    QString downloaded; // ISO 8601, UTC
};

// The manifest of "BASE_Sta.csv" or "BASE_Leq<n>.csv" is "BASE_Manifest.json".
OriginCheck checkOrigin(const QString& dataFilePath);

// "verified", "changed since download", "no manifest".
QString originText(OriginCheck::State state);
// "verified", "changed", "none": the JSON value.
QString originKey(OriginCheck::State state);
