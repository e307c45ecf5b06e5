// The histogram window against the simulated logger: the whole read, a bin
// that never comes, the listed bins and the buffer switch.
#include "Controls.h"
#include "FactoryFixture.h"
#include "Link.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

class TestHistogram : public QObject {
    Q_OBJECT

    std::unique_ptr<FactoryFixture> m_fixture;
    HistogramForm* m_window = nullptr;

    bool open() {
        if (!m_fixture->open())
            return false;
        Control<QPushButton>(m_fixture->form, "ManualButton")->click();
        m_window = m_fixture->form->histogram();
        m_fixture->clearWire();
        return m_window->isVisible();
    }
    bool read() {
        Control<QPushButton>(m_window, "Command1")->click();
        return QTest::qWaitFor([] { return QueueIsEmpty() && !QueueRunInProgress(); }, 30000);
    }
    static std::vector<int> Counts(const QList<int>& filled) {
        std::vector<int> counts(Logger::HistogramBins, 0);
        for (int bin : filled)
            counts[std::size_t(bin - 1)] = bin * 3;
        return counts;
    }
    // Each row as found by its controls' names, as a tool finds it.
    QStringList shownRows() const {
        QStringList rows;
        for (int row = 0;; ++row) {
            const auto* bin = m_window->findChild<QLabel*>(QStringLiteral("Bin%1").arg(row));
            const auto* value = m_window->findChild<QLabel*>(QStringLiteral("Value%1").arg(row));
            if (!bin || !value)
                return rows;
            if (!bin->text().isEmpty())
                rows << bin->text() + "=" + value->text();
        }
    }

private slots:
    void init() {
        PanelFixture::store().clear();
        m_fixture = std::make_unique<FactoryFixture>();
    }
    void cleanup() {
        m_fixture.reset();
        m_window = nullptr;
    }

    void readsEveryBin() {
        QVERIFY(open());
        m_fixture->model().setHistogram(Counts({1, 700, 1500}));
        QVERIFY(read());
        const std::string wire = m_fixture->wire();
        QCOMPARE(wire.substr(0, 2), Bytes({1, 'x'}));
        QCOMPARE(std::count(wire.begin(), wire.end(), '\x02'),
                 std::ptrdiff_t(Logger::HistogramBins));
        QCOMPARE(Control<QLineEdit>(m_window, "Progress")->text(), QStringLiteral("Done"));
        for (int bin = 1; bin <= Logger::HistogramBins; ++bin)
            QCOMPARE(m_window->counts()[std::size_t(bin)],
                     qint16(Counts({1, 700, 1500})[std::size_t(bin - 1)]));
    }

    // A bin that does not come is asked for three times, then the read stops on it.
    void failingBin_data() {
        QTest::addColumn<int>("bin");
        QTest::newRow("the first") << 1;
        QTest::newRow("halfway") << 700;
        QTest::newRow("the last") << Logger::HistogramBins;
    }
    void failingBin() {
        QFETCH(int, bin);
        QVERIFY(open());
        MessageAnswerer answerer;
        SetCommsTimeOut(100);
        m_fixture->panel.sim.setFault(LoggerSimulator::Fault::HistogramStops, bin);
        QVERIFY(read());
        const std::string wire = m_fixture->wire();
        QCOMPARE(std::count(wire.begin(), wire.end(), '\x02'),
                 std::ptrdiff_t(bin - 1 + Logger::HistogramBinTries));
        QTRY_COMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen[0].text,
                 "Histogram bin " + QString::number(bin) + " could not be read.");
        QCOMPARE(answerer.seen[0].title, QStringLiteral("Orv"));
        QCOMPARE(Control<QLineEdit>(m_window, "Progress")->text(), QString::number(bin));
    }

    void processData_data() {
        QTest::addColumn<QList<int>>("filled");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("two bins") << QList<int>{5, 1499} << QStringList{"5=15", "1499=4497"};
        QList<int> many;
        QStringList first21;
        for (int bin = 10; bin < 40; ++bin) {
            many << bin;
            if (first21.size() < 21)
                first21 << QString::number(bin) + "=" + QString::number(bin * 3);
        }
        QTest::newRow("more than fit") << many << first21;
    }
    void processData() {
        QFETCH(QList<int>, filled);
        QVERIFY(open());
        m_fixture->model().setHistogram(Counts(filled));
        QVERIFY(read());
        Control<QPushButton>(m_window, "Command2")->click();
        QTEST(shownRows(), "rows");
        Control<QPushButton>(m_window, "Command2")
            ->click(); // again: the same list, not a second one below it
        QTEST(shownRows(), "rows");
        QCOMPARE(m_window->rowCount(), int(shownRows().size()) - 1);
        for (int press = 0; press < 2; ++press) {
            Control<QPushButton>(m_window, "Command3")->click();
            QCOMPARE(shownRows(), QStringList());
            QCOMPARE(m_window->rowCount(), 0);
        }
    }

    void emptyHistogramBeeps() {
        QVERIFY(open());
        MessageAnswerer answerer;
        m_fixture->model().setHistogram(Counts({1500}));
        QVERIFY(read());
        Control<QPushButton>(m_window, "Command2")->click();
        QTRY_COMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen[0].title, QStringLiteral("beep"));
        QCOMPARE(answerer.seen[0].text, QStringLiteral("beep"));
        QCOMPARE(shownRows(), QStringList());
    }

    void switchBuffers() {
        QVERIFY(open());
        m_fixture->model().setHistogram(Counts({3}));
        Control<QPushButton>(m_window, "Command4")->click();
        QTRY_VERIFY(QueueIsEmpty() && !QueueRunInProgress());
        QCOMPARE(m_fixture->wire(), Bytes({1, 'X', 2}));
        QVERIFY(read());
        QCOMPARE(m_window->counts()[3], qint16(0)); // the other bank is read now
    }
};

QTEST_MAIN(TestHistogram)
#include "test_histogram.moc"
