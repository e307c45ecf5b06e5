#pragma once

// BASE_Manifest.json: the proof of a complete unattended download, written
// beside its files after they have taken their names. It names the logger,
// the buffer and what the logger announced and the files received, and gives
// each file's size and SHA-256, so that anyone can check the set later with
// sha256sum. It is written last, so its presence means the set is whole.

#include "BufferRecord.h"
#include "DataFiles.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

struct ManifestContent {
    QString serialNumberText; // as the control panel shows it, "16-498-400"
    qint16 buffer = 0;        // 1 to 8; 0 for the whole memory
    // One buffer: its record as listed. Whole memory: the record of each
    // buffer the logger held.
    QVector<BufferRecord> records;
    qint32 announced = 0;
    qint32 written = 0;
    QDateTime downloaded; // UTC
    QStringList files;    // paths, all in the base's folder
};

// Writes the manifest through a ".part" name and a rename, each step flushed
// to disk; the failure names the file.
FileStatus WriteManifest(const QString& baseName, const ManifestContent& content);

// A download as the manifest under its base tells it.
struct ManifestedSet {
    QString serial;
    qint16 buffer = 0;  // 1 to 8; 0 for the whole memory
    QStringList starts; // the start of each recording it holds, ISO 8601 ("" unset)
    QString stop;       // one buffer's stop, "" while it was recording
    QStringList files;  // paths, as the base names its folder
    QList<qint64> sizes;
    QStringList digests; // SHA-256, in hexadecimal
    qint32 announced = 0;
    qint32 written = 0;
};

// The manifest under this base; nothing when there is none that reads.
std::optional<ManifestedSet> ReadManifest(const QString& baseName);
// Every file the manifest lists is there with its size, and, when asked,
// its SHA-256.
bool FilesMatch(const ManifestedSet& set, bool checkDigests);
// The set is this buffer's whole download from this logger, made after its
// recording had ended.
bool IsFinishedDownloadOf(const ManifestedSet& set, const QString& serial,
                          const BufferRecord& record);
