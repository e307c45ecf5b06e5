// The proof of origin: a data file checked against the manifest a download
// wrote beside it, by name, size and SHA-256.

#include "OriginCheck.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kContent = "\"Orvane Instruments -  Type 1 Environmental Noise Logger\"\r\n";

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The manifest of base "site", as qn7x-fetch lays it out, listing one file
// with this size and digest.
QByteArray manifest(const QString& name, qint64 size, const QByteArray& content) {
    const QJsonObject listed{
        {"name", name},
        {"size", size},
        {"sha256", QString::fromLatin1(
                       QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex())}};
    return QJsonDocument(QJsonObject{{"program", "qn7x-fetch"},
                                     {"serialNumber", "16-498-400"},
                                     {"buffer", 3},
                                     {"downloaded", "2026-12-07T18:00:00Z"},
                                     {"files", QJsonArray{listed}}})
        .toJson();
}

} // namespace

class OriginTest : public QObject {
    Q_OBJECT
private slots:
    void state_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::addColumn<QByteArray>("manifest");
        QTest::addColumn<OriginCheck::State>("state");
        const qint64 size = kContent.size();
        QTest::newRow("verified") << "site_Sta.csv" << kContent
                                  << manifest("site_Sta.csv", size, kContent)
                                  << OriginCheck::State::Verified;
        QTest::newRow("short-term Leq file")
            << "site_Leq12.csv" << kContent << manifest("site_Leq12.csv", size, kContent)
            << OriginCheck::State::Verified;
        QTest::newRow("one byte changed")
            << "site_Sta.csv" << QByteArray(kContent).replace("Orvane", "Orvanf")
            << manifest("site_Sta.csv", size, kContent) << OriginCheck::State::Changed;
        QTest::newRow("size changed")
            << "site_Sta.csv" << kContent + "\r\n"
            << manifest("site_Sta.csv", size, kContent) << OriginCheck::State::Changed;
        QTest::newRow("no manifest")
            << "site_Sta.csv" << kContent << QByteArray() << OriginCheck::State::None;
        QTest::newRow("not listed")
            << "site_Sta.csv" << kContent << manifest("site_Leq0.csv", size, kContent)
            << OriginCheck::State::None;
        QTest::newRow("manifest not JSON")
            << "site_Sta.csv" << kContent << QByteArray("{files") << OriginCheck::State::None;
    }
    void state() {
        QFETCH(QString, file);
        QFETCH(QByteArray, onDisk);
        QFETCH(QByteArray, manifest);
        QFETCH(OriginCheck::State, state);
        QTemporaryDir dir;
        QVERIFY(write(dir.filePath(file), onDisk));
        if (!manifest.isEmpty())
            QVERIFY(write(dir.filePath(QStringLiteral("site_Manifest.json")), manifest));
        const OriginCheck check = checkOrigin(dir.filePath(file));
        QCOMPARE(check.state, state);
        if (state != OriginCheck::State::None) {
            QCOMPARE(check.serial, QStringLiteral("16-498-400"));
            QCOMPARE(check.buffer, QStringLiteral("3"));
            QCOMPARE(check.downloaded, QStringLiteral("2026-12-07T18:00:00Z"));
        }
    }
};

QTEST_GUILESS_MAIN(OriginTest)
#include "test_origin.moc"
