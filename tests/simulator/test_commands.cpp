// The logger's answer to every command: reply lengths, record layouts, the
// echo settings and what each command changes in the logger.

#include "LoggerSimulator.h"
#include "SimClient.h"
#include "WireBytes.h"

#include <QtTest>

namespace {

int word(const QByteArray& b, int at) {
    return sim::readU16(b.toStdString(), at);
}
std::uint32_t longAt(const QByteArray& b, int at) {
    return sim::readU32(b.toStdString(), at);
}
int byteAt(const QByteArray& b, int at) {
    return static_cast<unsigned char>(b.at(at));
}

QByteArray wireDateTime(const sim::DateTime& dt) {
    return QByteArray::fromStdString(sim::dateTimeBytes(dt));
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void init() {
        const QString error = StartSession(sim_, client_);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    void cleanup() {
        client_.reset();
        sim_.reset();
    }

    // Queries without data: exactly the catalogue's reply length, nothing more.
    void queryReplyLengths_data() {
        QTest::addColumn<char>("letter");
        QTest::addColumn<int>("length");
        QTest::newRow("send pulse") << '/' << 1;
        QTest::newRow("get date/time") << 'd' << 6;
        QTest::newRow("get range") << 'l' << 1;
        QTest::newRow("get buffers") << 'b' << 1;
        QTest::newRow("get SPL") << 's' << 2;
        QTest::newRow("get raw SPL") << 'z' << 2;
        QTest::newRow("get update") << '1' << 9;
        QTest::newRow("get information") << '2' << 26;
        QTest::newRow("get parameters") << '3' << 2;
        QTest::newRow("logging mode") << 'h' << 1;
        QTest::newRow("switch histogram") << 'X' << 1;
        QTest::newRow("reset") << 'g' << 1;
    }
    void queryReplyLengths() {
        QFETCH(char, letter);
        QFETCH(int, length);
        QCOMPARE(client_->query(letter, length).size(), length);
        QCOMPARE(client_->drain(100), QByteArray());
    }

    // Get Information: every field at its position.
    void getInformationLayout() {
        LoggerModel& m = sim_->model();
        m.setSerialNumber(98765432);
        m.setFirmwareVersions(0x0405, 0x0210);
        m.setBattery(118);
        m.setTemperature(-35);
        m.setPowerDownDisabled(true);
        m.setClock({2003, 6, 15, 10, 20, 30}); // a Sunday
        m.setMode(LoggerModel::kModeTimersOn);
        const QByteArray r = client_->query('2', 26);
        QCOMPARE(r.size(), 26);
        QCOMPARE(longAt(r, 0), 98765432u);
        QCOMPARE(word(r, 4), 0x0405);
        QCOMPARE(word(r, 6), 0x0210);
        QCOMPARE(word(r, 9), 118);
        QCOMPARE(static_cast<std::int16_t>(word(r, 11)), std::int16_t(-35));
        QCOMPARE(byteAt(r, 13), 1);
        QCOMPARE(byteAt(r, 14), 0);
        QCOMPARE(r.mid(15, 3), wireDateTime({2003, 6, 15, 0, 0, 0}).left(3));
        QCOMPARE(byteAt(r, 21), LoggerModel::kModeTimersOn);
        QCOMPARE(static_cast<std::int32_t>(longAt(r, 22)), LoggerModel::kMemoryBytes);
    }

    // A temperature sensor that is not fitted reads -100 (FF 9C).
    void temperatureNotFitted() {
        sim_->model().setTemperature(LoggerModel::kTemperatureNotFitted);
        const QByteArray r = client_->query('2', 26);
        QCOMPARE(r.mid(11, 2), bytes({0xFF, 0x9C}));
    }

    // Get Update: level, overload flag, clock.
    void getUpdateLayout() {
        sim_->model().setClock({2004, 2, 29, 23, 59, 0});
        sim_->model().setLevel(653);
        sim_->model().setOverload(true);
        const QByteArray r = client_->query('1', 9);
        QCOMPARE(word(r, 0), 653);
        QCOMPARE(byteAt(r, 2), 1);
        QCOMPARE(r.mid(3, 5), wireDateTime({2004, 2, 29, 23, 59, 0}).left(5));
    }

    // A level above the measuring range's top sets the overload flag; "v"
    // clears it and the flag stays clear until the next overload.
    void overloadSetByLevelClearedByV() {
        QVERIFY(sim_->model().setRange(0)); // low range, top 100.0 dB
        sim_->model().setLevel(950);
        QCOMPARE(byteAt(client_->query('1', 9), 2), 0);
        sim_->model().setLevel(1005);
        sim_->model().setLevel(600);
        QCOMPARE(byteAt(client_->query('1', 9), 2), 1);
        QVERIFY(client_->command('v'));
        QTRY_VERIFY(!sim_->model().overload());
        QCOMPARE(byteAt(client_->query('1', 9), 2), 0);
    }

    void levelWords() {
        sim_->model().setLevel(943);
        QCOMPARE(word(client_->query('s', 2), 0), 943);
        QCOMPARE(word(client_->query('z', 2), 0), sim_->model().rawLevel());
    }

    // "D" takes the weekday Monday = 1 ... Sunday = 7 and six date bytes; "d"
    // and Get Information read it back, the weekday as 0 = Sunday ... 6.
    void setAndReadClock_data() {
        QTest::addColumn<int>("sentWeekday");
        QTest::addColumn<int>("reportedWeekday");
        QTest::newRow("sunday") << 7 << 0;
        QTest::newRow("monday") << 1 << 1;
        QTest::newRow("saturday") << 6 << 6;
    }
    void setAndReadClock() {
        QFETCH(int, sentWeekday);
        QFETCH(int, reportedWeekday);
        const sim::DateTime dt{2003, 6, 15, 12, 0, 0};
        QVERIFY(client_->commandWithData('D', bytes({sentWeekday}) + wireDateTime(dt)));
        QCOMPARE(client_->request(1), QByteArray("D"));
        const QByteArray clock = client_->query('d', 6);
        QCOMPARE(clock.left(5), wireDateTime(dt).left(5));
        QVERIFY(byteAt(clock, 5) <= 2); // the clock runs on
        QCOMPARE(byteAt(client_->query('2', 26), 14), reportedWeekday);
    }

    // A date the logger cannot hold, or a weekday outside 1 to 7, is refused and
    // the clock keeps its time.
    void setClockRefusesInvalid_data() {
        QTest::addColumn<QByteArray>("block");
        QTest::newRow("month 13") << bytes({1, 7, 13, 1, 0, 0, 0});
        QTest::newRow("30 February") << bytes({1, 8, 2, 30, 0, 0, 0});
        QTest::newRow("hour 24") << bytes({1, 7, 1, 1, 24, 0, 0});
        QTest::newRow("weekday 0") << bytes({0, 7, 1, 1, 0, 0, 0});
        QTest::newRow("weekday 8") << bytes({8, 7, 1, 1, 0, 0, 0});
        QTest::newRow("unset record") << bytes({1, 255, 255, 255, 255, 255, 255});
    }
    void setClockRefusesInvalid() {
        QFETCH(QByteArray, block);
        sim_->model().setClock({2010, 1, 1, 0, 0, 0});
        QVERIFY(client_->commandWithData('D', block));
        const QByteArray reply = client_->request(1);
        QCOMPARE(reply.size(), 1);
        QVERIFY(reply != "D");
        QCOMPARE(sim_->model().clock().year, 2010);
    }

    // The byte settings echo their letter and take effect.
    void byteSettingsEcho() {
        LoggerModel& m = sim_->model();
        QVERIFY(client_->commandWithData('F', bytes({0})));
        QCOMPARE(client_->request(1), QByteArray("F"));
        QVERIFY(client_->commandWithData('W', bytes({1})));
        QCOMPARE(client_->request(1), QByteArray("W"));
        QCOMPARE(client_->query('3', 2), bytes({0, 1}));
        QCOMPARE(m.frequencyWeighting(), 0);
        QCOMPARE(m.timeWeighting(), 1);

        QVERIFY(client_->commandWithData('L', bytes({3})));
        QCOMPARE(client_->request(1), QByteArray("L"));
        QCOMPARE(client_->query('l', 1), bytes({3}));

        QVERIFY(client_->commandWithData('R', bytes({1})));
        QCOMPARE(client_->request(1), QByteArray("R"));
        QCOMPARE(byteAt(client_->query('2', 26), 13), 1);
        QVERIFY(client_->commandWithData('R', bytes({0})));
        QCOMPARE(client_->request(1), QByteArray("R"));
        QCOMPARE(byteAt(client_->query('2', 26), 13), 0);
    }

    // Settings the logger cannot take are refused with another character.
    void outOfRangeSettingsRefused_data() {
        QTest::addColumn<char>("letter");
        QTest::addColumn<int>("value");
        QTest::newRow("range 4") << 'L' << 4;
        QTest::newRow("power down 2") << 'R' << 2;
    }
    void outOfRangeSettingsRefused() {
        QFETCH(char, letter);
        QFETCH(int, value);
        QVERIFY(client_->commandWithData(letter, bytes({value})));
        const QByteArray reply = client_->request(1);
        QCOMPARE(reply.size(), 1);
        QVERIFY(reply.at(0) != letter);
    }

    void setSerialNumberAnswersO() {
        QVERIFY(client_->commandWithData('I', bytes({0x05, 0xF5, 0xE0, 0xFF})));
        QCOMPARE(client_->request(1), QByteArray("O"));
        QCOMPARE(longAt(client_->query('2', 26), 0), 0x05F5E0FFu);
    }

    // "U" answers at the old rate, then the logger is at the new one: a host
    // that stays at the old rate is no longer heard, one that re-clocks is. A
    // rate the logger does not have is refused and nothing changes.
    void changeBaudRate() {
        sim_->setBaudRate(19200);
        QVERIFY(client_->setBaudRate(19200));
        QVERIFY(client_->commandWithData('U', bytes({0x25, 0x80}))); // 9600
        QCOMPARE(client_->request(1), QByteArray("U"));
        QCOMPARE(sim_->baudRate(), 9600);
        QCOMPARE(client_->query('/', 1, 300), QByteArray());
        QVERIFY(client_->setBaudRate(9600));
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
        QVERIFY(client_->commandWithData('U', bytes({0x00, 0x07})));
        QCOMPARE(client_->request(1), QByteArray("?"));
        QCOMPARE(sim_->baudRate(), 9600);
    }

    // System calibration: "T" when a steady level near the reference is being
    // measured, "t" otherwise; "t" and "S" behave alike.
    void systemCalibration_data() {
        QTest::addColumn<char>("letter");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("reference");
        QTest::addColumn<char>("answer");
        QTest::newRow("S on tone") << 'S' << 938 << 940 << 'T';
        QTest::newRow("t on tone") << 't' << 945 << 940 << 'T';
        QTest::newRow("S no tone") << 'S' << 450 << 940 << 't';
        QTest::newRow("S reference too low") << 'S' << 500 << 500 << 't';
    }
    void systemCalibration() {
        QFETCH(char, letter);
        QFETCH(int, level);
        QFETCH(int, reference);
        QFETCH(char, answer);
        sim_->model().setLevel(level);
        QVERIFY(
            client_->commandWithData(letter, QByteArray::fromStdString(sim::wordBytes(reference))));
        QCOMPARE(client_->request(1), QByteArray(1, answer));
        QCOMPARE(sim_->model().level(), answer == 'T' ? reference : level);
    }

    // Temperature calibration corrects the sensor; "g" loses the correction.
    void temperatureCalibration() {
        sim_->model().setTemperature(200);
        QVERIFY(client_->commandWithData('K', bytes({0, 215})));
        QCOMPARE(client_->request(1), QByteArray("K"));
        QCOMPARE(sim_->model().temperature(), 215);
        QCOMPARE(client_->query('g', 1), QByteArray("g"));
        QCOMPARE(sim_->model().temperature(), 200);
    }

    // Histogram: "x" then 1500 two-byte replies, bin 1 first.
    void histogramReadsFifteenHundredBins() {
        std::vector<int> counts(LoggerModel::kHistogramBins, 0);
        counts[0] = 7;
        counts[449] = 300;
        counts[1499] = 1;
        sim_->model().setHistogram(counts);
        QVERIFY(client_->command('x'));
        QByteArray all;
        for (int bin = 1; bin <= LoggerModel::kHistogramBins; ++bin) {
            const QByteArray r = client_->request(2);
            QCOMPARE(r.size(), 2);
            all += r;
        }
        QCOMPARE(word(all, 0), 7);
        QCOMPARE(word(all, 2 * 449), 300);
        QCOMPARE(word(all, 2 * 1499), 1);
        QCOMPARE(client_->request(2, 200), QByteArray());
    }

    // "X" switches to the other histogram bank.
    void switchHistogramBanks() {
        sim_->model().setHistogram({5});
        QCOMPARE(client_->query('X', 1), QByteArray("X"));
        QVERIFY(client_->command('x'));
        QCOMPARE(word(client_->request(2), 0), 0);
        QCOMPARE(client_->query('X', 1), QByteArray("X"));
        QVERIFY(client_->command('x'));
        QCOMPARE(word(client_->request(2), 0), 5);
    }

    // Filter constants: "<" answers A then B; ">" takes A then B.
    void filterConstants() {
        sim_->model().setFilters(12, 250);
        QVERIFY(client_->command('<'));
        QCOMPARE(client_->request(1), bytes({12}));
        QCOMPARE(client_->request(1), bytes({250}));
        QCOMPARE(client_->request(1, 200), QByteArray());
    }

    // Last results: 0 when there is no statistical record; otherwise 1, then the
    // most recent statistical block.
    void lastResults() {
        QCOMPARE(client_->query('o', 1), bytes({0}));
        QCOMPARE(client_->request(34, 200), QByteArray());
        sim::DayOfDataOptions day;
        day.hours = 1;
        day.leqSeconds = 0;
        sim_->model().fillMemory(day);
        QCOMPARE(client_->query('o', 1), bytes({1}));
        const QByteArray block = client_->request(34);
        QCOMPARE(block.size(), 34);
        QCOMPARE(byteAt(block, 0), 1);
        QCOMPARE(block.mid(1, 6), wireDateTime({2004, 3, 1, 1, 0, 0}));
    }

    // "g" resets the logger: buffers gone, not logging.
    void resetClearsMemory() {
        sim_->model().fillMemory();
        QCOMPARE(client_->query('b', 1), bytes({1}));
        QCOMPARE(client_->query('g', 1), QByteArray("g"));
        QCOMPARE(client_->query('b', 1), bytes({0}));
        QCOMPARE(static_cast<std::int32_t>(longAt(client_->query('2', 26), 22)),
                 LoggerModel::kMemoryBytes);
    }

private:
    std::unique_ptr<LoggerSimulator> sim_;
    std::unique_ptr<SimClient> client_;
};

QTEST_GUILESS_MAIN(TestCommands)
#include "test_commands.moc"
