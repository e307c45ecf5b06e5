// What the factory window accepts as a serial number and as a filter constant.
#include "FactoryEntry.h"

#include <QTest>

Q_DECLARE_METATYPE(std::optional<qint32>)
Q_DECLARE_METATYPE(std::optional<quint8>)

class TestFactoryEntry : public QObject {
    Q_OBJECT

private slots:
    void serialNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<qint32>>("accepted");
        QTest::newRow("usual") << "12345678" << std::optional<qint32>(12345678);
        QTest::newRow("zero") << "0" << std::optional<qint32>(0);
        QTest::newRow("highest") << "2147483647" << std::optional<qint32>(2147483647);
        QTest::newRow("one above") << "2147483648" << std::optional<qint32>();
        QTest::newRow("negative") << "-1" << std::optional<qint32>();
        QTest::newRow("decimal") << "12.5" << std::optional<qint32>();
        QTest::newRow("exponent") << "1e5" << std::optional<qint32>();
        QTest::newRow("spaces") << " 12" << std::optional<qint32>();
        QTest::newRow("empty") << "" << std::optional<qint32>();
        QTest::newRow("other digits")
            << QString::fromUtf8("\u0661\u0662") << std::optional<qint32>();
    }
    void serialNumber() {
        QFETCH(QString, text);
        QTEST(ParseSerialNumber(text), "accepted");
    }

    void filterConstant_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<quint8>>("accepted");
        QTest::newRow("zero") << "0" << std::optional<quint8>(0);
        QTest::newRow("highest") << "255" << std::optional<quint8>(255);
        QTest::newRow("one above") << "256" << std::optional<quint8>();
        QTest::newRow("negative") << "-3" << std::optional<quint8>();
        QTest::newRow("word") << "abc" << std::optional<quint8>();
        QTest::newRow("empty") << "" << std::optional<quint8>();
    }
    void filterConstant() {
        QFETCH(QString, text);
        QTEST(ParseFilterConstant(text), "accepted");
    }
};

QTEST_GUILESS_MAIN(TestFactoryEntry)
#include "test_factoryentry.moc"
