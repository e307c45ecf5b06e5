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
