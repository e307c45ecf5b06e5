#include "OriginCheck.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

QString manifestPath(const QFileInfo& dataFile) {
    static const QRegularExpression suffix(QStringLiteral("_(Sta|Leq\\d+)\\.csv$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = suffix.match(dataFile.fileName());
    if (!match.hasMatch())
        return {};
    return dataFile.absolutePath() + u'/' + dataFile.fileName().left(match.capturedStart()) +
           QStringLiteral("_Manifest.json");
}

bool sameAsListed(const QString& path, const QJsonObject& listed) {
    QFile file(path);
    QCryptographicHash digest(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || file.size() != listed["size"].toInteger(-1) ||
        !digest.addData(&file))
        return false;
    return QString::fromLatin1(digest.result().toHex())
               .compare(listed["sha256"].toString(), Qt::CaseInsensitive) == 0;
}

} // namespace

OriginCheck checkOrigin(const QString& dataFilePath) {
    const QFileInfo dataFile(dataFilePath);
    QFile file(manifestPath(dataFile));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    const QJsonObject manifest = QJsonDocument::fromJson(file.readAll()).object();
    for (const QJsonValue& listed : manifest["files"].toArray()) {
        if (listed["name"].toString() != dataFile.fileName())
            continue;
        const QJsonValue buffer = manifest["buffer"];
        return {.state = sameAsListed(dataFilePath, listed.toObject())
                             ? OriginCheck::State::Verified
                             : OriginCheck::State::Changed,
                .serial = manifest["serialNumber"].toString(),
                .buffer = buffer.isDouble() ? QString::number(buffer.toInt()) : buffer.toString(),
                .downloaded = manifest["downloaded"].toString()};
    }
    return {};
}

QString originText(OriginCheck::State state) {
    switch (state) {
    case OriginCheck::State::Verified:
        return QStringLiteral("verified");
    case OriginCheck::State::Changed:
        return QStringLiteral("changed since download");
    case OriginCheck::State::None:
        break;
    }
    return QStringLiteral("no manifest");
}

QString originKey(OriginCheck::State state) {
    switch (state) {
    case OriginCheck::State::Verified:
        return QStringLiteral("verified");
    case OriginCheck::State::Changed:
        return QStringLiteral("changed");
    case OriginCheck::State::None:
        break;
    }
    return QStringLiteral("none");
}
