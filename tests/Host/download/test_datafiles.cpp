// The files a download writes, from decoded blocks, and what a failing disk does.
#include "DataFiles.h"
#include "MemoryBlocks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const HeaderContext Context{QStringLiteral("12-345-678"),
                            QLocale(QLocale::English, QLocale::UnitedKingdom)};

DecodedBlock Decoded(const std::string& block, int spacing = 1) {
    return DecodeBlock(QByteArray::fromStdString(block), spacing);
}

BufferRecord Buffer(int leqMode) {
    BufferRecord record;
    record.interval = 15;
    record.leqMode = qint16(leqMode);
    record.leqLength = 1;
    record.percentileIndices = QByteArray("\x01\x05\x0a\x19\x32\x4b\x5a\x63", 8);
    record.title = "Survey          ";
    record.preReference = record.postReference = -1;
    return record;
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestDataFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void oneBufferByteForByte() {
        const BufferRecord record = Buffer(1);
        const QString survey = m_dir.filePath("survey");
        DataFileSet files(survey, Context);
        QList<int> opened;
        files.setFileOpened([&](DataFileKind kind, const QString&) { opened << int(kind); });
        QVERIFY(files.openForBuffer(record).ok());
        const sim::DateTime at{2003, 5, 1, 14, 30, 7};
        const sim::StatisticalValues values{
            450, 350, 650, {400, 400, 400, 400, 400, 400, 400, 401}, -200, 90, true};
        for (const std::string& block :
             {sim::eventBlock(at, 20), sim::shortTermLeqBlock(at, {450, 2450, 5}),
              sim::statisticalBlock(at, values), sim::erasedBlock()})
            QVERIFY(files.write(Decoded(block)).ok());
        QVERIFY(files.close().ok());
        QCOMPARE(opened, QList<int>({1, 0, 2}));

        const QByteArray header = HeaderBlock(record, Context);
        QCOMPARE(
            Contents(survey + "_Sta.csv"),
            header + "\r\n" + StatisticalHeadingLine(record) +
                "\"01/05/2003\",\"14:30\",45,65,40,40,40,40,40,40,40,40.1,35,-20,9,\"20\"\r\n");
        // A damaged stamp: no date anyone could take for one, the raw time.
        QCOMPARE(Contents(survey + ".log"),
                 header + "\r\n" + EventHeadingLine() +
                     "\"01/05/2003\",\"14:30:07\",\"Statistical data logging commenced.\"\r\n"
                     "\"\",\"255:255:255\",\"ERROR : Unknown record type error (code 255) "
                     "generated.\"\r\n");
        QCOMPARE(Contents(survey + "_Leq0.csv"), header + LeqHeadingLine() +
                                                     "\"01/05/2003\",\"14:29:56\",45,0\r\n"
                                                     "\"01/05/2003\",\"14:29:57\",45,20\r\n"
                                                     "\"01/05/2003\",\"14:29:58\",.5,0\r\n"
                                                     "\r\n");
    }

    // A record read as "no Leq" (a failed read) with Leq blocks after all.
    void leqFileOpensOnDemand() {
        DataFileSet files(m_dir.filePath("quiet"), Context);
        QVERIFY(files.openForBuffer(Buffer(0)).ok());
        QCOMPARE(files.createdFiles().size(), 2);
        QVERIFY(files.write(Decoded(sim::shortTermLeqBlock({2004, 1, 1, 0, 0, 5}, {500}), 0)).ok());
        QCOMPARE(files.createdFiles().last(), m_dir.filePath("quiet_Leq0.csv"));
    }

    void leqFileHoldsAtMost14400Values() {
        DataFileSet files(m_dir.filePath("long"), Context);
        QVERIFY(files.openForBuffer(Buffer(1)).ok());
        const std::string block = sim::shortTermLeqBlock({2004, 1, 1}, std::vector<int>(12, 600));
        for (int i = 0; i < 1201; ++i) // 14412 values
            QVERIFY(files.write(Decoded(block)).ok());
        QVERIFY(files.close().ok());
        QCOMPARE(Contents(m_dir.filePath("long_Leq0.csv")).count(",60,0\r\n"), 14400);
        const QByteArray second = Contents(m_dir.filePath("long_Leq1.csv"));
        QCOMPARE(second.count(",60,0\r\n"), 12);
        QVERIFY(second.startsWith(HeaderBlock(Buffer(1), Context) + LeqHeadingLine()));
    }

    // A full disk is seen at the first line that does not reach it.
    void fullDiskFailsAtTheFirstWrite() {
        const QString full = m_dir.filePath("full");
        QVERIFY(QFile::link("/dev/full", full + "_Sta.csv"));
        {
            DataFileSet files(full, Context);
            const FileStatus status = files.openForBuffer(Buffer(1));
            QCOMPARE(status.path, full + "_Sta.csv");
            QCOMPARE(status.message,
                     "Cannot write to the file " + full + "_Sta.csv.\rNo space left on device");
        }
        // A whole-memory statistical file gets its first line with the first
        // statistical block.
        DataFileSet files(full, Context);
        QVERIFY(files.openForWholeMemory([](int) { return Buffer(0); }).ok());
        QVERIFY(files.write(Decoded(sim::eventBlock({2004, 1, 1}, 20))).ok());
        QCOMPARE(files.write(Decoded(sim::statisticalBlock({2004, 1, 1}, {}))).path,
                 full + "_Sta.csv");
        // The others close cleanly; the full one still cannot take its line.
        QCOMPARE(files.close().path, full + "_Sta.csv");
        QVERIFY(Contents(full + ".log").endsWith("\"Statistical data logging commenced.\"\r\n"));
    }

    // A staged set leaves the earlier set as it was until it is promoted, and
    // then replaces it whole: no file of the earlier set, no manifest that
    // vouched for it and no ".part" left over from an earlier failed run.
    // Written in place, a set drops the manifest it no longer matches.
    void stagedSetReplacesTheEarlierSetWhole() {
        const QString survey = m_dir.filePath("staged");
        const QStringList earlier = {ManifestFilePath(survey), StatisticalFilePath(survey),
                                     EventLogPath(survey),     LeqFilePath(survey, 0),
                                     LeqFilePath(survey, 1),   LeqFilePath(survey, 2) + PartSuffix};
        for (const QString& path : earlier) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("earlier") == 7);
        }
        DataFileSet files(survey, Context, FileNaming::Staged);
        QVERIFY(files.openForBuffer(Buffer(1)).ok());
        QVERIFY(files.close().ok());
        QCOMPARE(files.createdFiles(), QStringList({StatisticalFilePath(survey) + PartSuffix,
                                                    EventLogPath(survey) + PartSuffix,
                                                    LeqFilePath(survey, 0) + PartSuffix}));
        for (const QString& path : earlier)
            QCOMPARE(Contents(path), QByteArray("earlier"));

        QVERIFY(files.promote().ok());
        const QStringList promoted = {StatisticalFilePath(survey), EventLogPath(survey),
                                      LeqFilePath(survey, 0)};
        QCOMPARE(files.createdFiles(), promoted);
        QCOMPARE(ExistingDataFiles(survey), promoted);
        QCOMPARE(ExistingDataFiles(survey, PartSuffix), QStringList());
        QVERIFY(!QFile::exists(LeqFilePath(survey, 2) + PartSuffix));
        QVERIFY(!QFile::exists(LeqFilePath(survey, 1)));
        QCOMPARE(QDir(m_dir.path()).entryList({"staged*.earlier"}), QStringList());
        QVERIFY(Contents(StatisticalFilePath(survey)).startsWith(HeaderBlock(Buffer(1), Context)));

        QFile manifest(ManifestFilePath(survey));
        QVERIFY(manifest.open(QIODevice::WriteOnly));
        manifest.close();
        DataFileSet inPlace(survey, Context);
        QVERIFY(inPlace.openForBuffer(Buffer(0)).ok());
        QVERIFY(!QFile::exists(ManifestFilePath(survey)));
    }

    // A name that cannot be taken half way through (here a folder holds it)
    // puts the new files back under their staged names and the earlier set
    // back whole, manifest included.
    void failedPromotionPutsTheEarlierSetBack() {
        const QString survey = m_dir.filePath("blocked");
        const QStringList earlier = {ManifestFilePath(survey), StatisticalFilePath(survey),
                                     EventLogPath(survey)};
        for (const QString& path : earlier) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("earlier") == 7);
        }
        QVERIFY(QDir(m_dir.path()).mkpath(LeqFilePath(survey, 0) + "/inside"));
        DataFileSet files(survey, Context, FileNaming::Staged);
        QVERIFY(files.openForBuffer(Buffer(1)).ok());
        QVERIFY(files.close().ok());
        const QStringList staged = files.createdFiles();

        const FileStatus status = files.promote();
        QCOMPARE(status.path, LeqFilePath(survey, 0) + PartSuffix);
        QVERIFY(status.message.startsWith("Cannot rename the file"));
        QCOMPARE(files.createdFiles(), staged);
        for (const QString& path : staged)
            QVERIFY(Contents(path).startsWith(HeaderBlock(Buffer(1), Context)));
        for (const QString& path : earlier)
            QCOMPARE(Contents(path), QByteArray("earlier"));
        QCOMPARE(QDir(m_dir.path()).entryList({"blocked*.earlier"}), QStringList());
    }

    void missingFolderFailsAtCreation() {
        const QString gone = m_dir.filePath("removed/survey");
        DataFileSet files(gone, Context);
        QVERIFY(files.openForBuffer(Buffer(0)).message.startsWith("Cannot create the file " + gone +
                                                                  "_Sta.csv.\r"));
        QVERIFY(files.createdFiles().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDataFiles)
#include "test_datafiles.moc"
