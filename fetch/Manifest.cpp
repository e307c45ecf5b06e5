#include "Manifest.h"

#include "DiskSync.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject BufferJson(const BufferRecord& record) {
    return {{"title", TitleText(record.title).trimmed()},
            {"start", IsoDateTimeText(record.start)},
            {"stop", IsoDateTimeText(record.stop)}};
}

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

// A file as a manifest lists it, against the file on the disk.
bool Matches(const QString& folder, const QJsonObject& listed, bool checkDigest) {
    const QString name = listed["name"].toString();
    // Only names in the manifest's own folder: a manifest is no key to others.
    if (name.isEmpty() || name.contains(u'/') || name == QStringLiteral("..") ||
        name == QStringLiteral("."))
        return false;
    const QString path = QDir(folder).filePath(name);
    if (QFileInfo(path).size() != listed["size"].toInteger(-1) || !QFileInfo(path).isFile())
        return false;
    if (!checkDigest)
        return true;
    const std::optional<QJsonObject> file = FileJson(path);
    return file && (*file)["sha256"] == listed["sha256"];
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

std::optional<ManifestedSet> CompleteDownloadAt(const QString& baseName, const QString& serial,
                                                const BufferRecord& record, bool checkDigests) {
    QFile file(ManifestFilePath(baseName));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject manifest = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject buffer = BufferJson(record);
    if (manifest["serialNumber"].toString() != serial || !manifest["buffer"].isDouble() ||
        manifest["start"] != buffer["start"] || manifest["stop"] != buffer["stop"] ||
        !IsLoggerDateTime(record.stop))
        return std::nullopt;
    ManifestedSet set{.files = {},
                      .announced = manifest["blocksAnnounced"].toInt(-1),
                      .written = manifest["blocksWritten"].toInt(-1)};
    const QString folder = QFileInfo(ManifestFilePath(baseName)).absolutePath();
    // Named as a fresh download names them: the base's folder as given.
    const QString prefix = baseName.left(baseName.lastIndexOf(u'/') + 1);
    const QJsonArray files = manifest["files"].toArray();
    for (const QJsonValue& listed : files) {
        if (!Matches(folder, listed.toObject(), checkDigests))
            return std::nullopt;
        set.files << prefix + listed["name"].toString();
    }
    if (files.isEmpty() || set.written < 0 || set.written != set.announced)
        return std::nullopt;
    return set;
}
