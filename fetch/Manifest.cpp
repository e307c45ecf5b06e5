#include "Manifest.h"

#include "DiskSync.h"
#include "FetchJson.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Read back from the disk, so that the digest is of what is really there.
std::optional<QJsonObject> FileJson(const QString& path) {
    QFile file(path);
    QCryptographicHash digest(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !digest.addData(&file))
        return std::nullopt;
    return QJsonObject{{"name", QFileInfo(path).fileName()},
                       {"size", file.size()},
                       {"sha256", QString::fromLatin1(digest.result().toHex())}};
}

FileStatus Failure(const QString& path, const QString& what) {
    return {path, what.arg(QDir::toNativeSeparators(path))};
}

} // namespace

FileStatus WriteManifest(const QString& baseName, const ManifestContent& content) {
    QJsonObject manifest{{"program", "qn7x-fetch"},
                         {"version", HUSHMARK_VERSION},
                         {"serialNumber", content.serialNumberText},
                         {"blocksAnnounced", content.announced},
                         {"blocksWritten", content.written},
                         {"downloaded", content.downloaded.toUTC().toString(Qt::ISODate)}};
    if (content.buffer > 0) {
        manifest.insert("buffer", content.buffer);
        const QJsonObject buffer = BufferJson(content.records.value(0, EmptyBufferRecord()));
        for (auto field = buffer.begin(); field != buffer.end(); ++field)
            manifest.insert(field.key(), field.value());
    } else {
        manifest.insert("buffer", "memory");
        QJsonArray buffers;
        for (qsizetype i = 0; i < content.records.size(); ++i) {
            QJsonObject buffer = BufferJson(content.records.at(i));
            buffer.insert("number", int(i + 1));
            buffers.append(buffer);
        }
        manifest.insert("buffers", buffers);
    }
    QJsonArray files;
    for (const QString& path : content.files) {
        const std::optional<QJsonObject> file = FileJson(path);
        if (!file)
            return Failure(path, QStringLiteral("Cannot read the file %1 back."));
        files.append(*file);
    }
    manifest.insert("files", files);

    const QString path = ManifestFilePath(baseName);
    const QString staged = path + PartSuffix;
    QFile file(staged);
    const QByteArray text = QJsonDocument(manifest).toJson(QJsonDocument::Indented);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() ||
        !file.flush())
        return Failure(staged, QStringLiteral("Cannot write to the file %1."));
    file.close();
    if (!SyncToDisk({staged}).isEmpty())
        return Failure(staged, QStringLiteral("Cannot flush %1 to the disk."));
    if (!ReplaceFile(staged, path))
        return Failure(staged, QStringLiteral("Cannot rename the file %1."));
    if (!SyncFolder(QFileInfo(path).absolutePath()))
        return Failure(path, QStringLiteral("Cannot flush the folder of %1 to the disk."));
    return {};
}

std::optional<ManifestedSet> ReadManifest(const QString& baseName) {
    QFile file(ManifestFilePath(baseName));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject manifest = QJsonDocument::fromJson(file.readAll()).object();
    if (manifest.isEmpty())
        return std::nullopt;
    ManifestedSet set{.serial = manifest["serialNumber"].toString(),
                      .buffer = qint16(manifest["buffer"].toInt(0)),
                      .starts = {},
                      .stop = manifest["stop"].toString(),
                      .files = {},
                      .sizes = {},
                      .digests = {},
                      .announced = manifest["blocksAnnounced"].toInt(-1),
                      .written = manifest["blocksWritten"].toInt(-1)};
    if (set.buffer > 0)
        set.starts << manifest["start"].toString();
    for (const QJsonValue& buffer : manifest["buffers"].toArray())
        set.starts << buffer["start"].toString();
    // Named as a fresh download names them: the base's folder as given.
    const QString prefix = baseName.left(baseName.lastIndexOf(u'/') + 1);
    for (const QJsonValue& listed : manifest["files"].toArray()) {
        const QString name = listed["name"].toString();
        // Only names in the manifest's own folder: a manifest is no key to others.
        if (name.isEmpty() || name.contains(u'/') || name == QStringLiteral("..") ||
            name == QStringLiteral("."))
            return std::nullopt;
        set.files << prefix + name;
        set.sizes << listed["size"].toInteger(-1);
        set.digests << listed["sha256"].toString();
    }
    return set;
}

bool FilesMatch(const ManifestedSet& set, bool checkDigests) {
    if (set.files.isEmpty())
        return false;
    for (qsizetype i = 0; i < set.files.size(); ++i) {
        const QFileInfo file(set.files.at(i));
        if (!file.isFile() || file.size() != set.sizes.at(i))
            return false;
        if (checkDigests) {
            const std::optional<QJsonObject> digest = FileJson(set.files.at(i));
            if (!digest || (*digest)["sha256"].toString() != set.digests.at(i))
                return false;
        }
    }
    return true;
}

bool IsFinishedDownloadOf(const ManifestedSet& set, const QString& serial,
                          const BufferRecord& record) {
    const QJsonObject buffer = BufferJson(record);
    return set.serial == serial && set.buffer > 0 &&
           set.starts == QStringList{buffer["start"].toString()} &&
           set.stop == buffer["stop"].toString() && IsLoggerDateTime(record.stop) &&
           set.written >= 0 && set.written == set.announced;
}
