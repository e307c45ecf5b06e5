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

// A complete download of a buffer already under a base.
struct ManifestedSet {
    QStringList files; // paths, as the base names its folder
    qint32 announced = 0;
    qint32 written = 0;
};

// The complete download of this buffer that is already under this base: its
// manifest names this serial number and the buffer's start and stop (its
// recording had ended), and every file it lists is there with its size and,
// when asked, its SHA-256. Nothing when any of that does not hold.
std::optional<ManifestedSet> CompleteDownloadAt(const QString& baseName, const QString& serial,
                                                const BufferRecord& record, bool checkDigests);
