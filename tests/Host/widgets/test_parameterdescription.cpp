// A buffer's parameters in words, and where the windows that show them appear.
#include "ParameterDescription.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include <functional>

using Change = std::function<void(BufferRecord&)>;
Q_DECLARE_METATYPE(Change)

namespace {

BufferRecord Survey() {
    BufferRecord record = EmptyBufferRecord();
    record.start = {2004, 3, 1, 8, 0, 0};
    record.stop = {2004, 3, 2, 9, 30, 5};
    record.aWeighting = true;
    record.interval = 15;
    record.percentileIndices = QByteArray("\x01\x05\x0a\x21\x32\x5a\x5f\x63", 8);
    record.title = "Day survey      ";
    return record;
}

} // namespace

class TestParameterDescription : public QObject {
    Q_OBJECT

private slots:
    void describes_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("used");
        const Change none = [](BufferRecord&) {};
        QTest::newRow("title") << none << "Title"
                               << "Day survey      " << true;
        QTest::newRow("interval") << none << "Interval"
                                  << "15 minutes" << true;
        QTest::newRow("indices") << none << "Indices"
                                 << "Leq, Lmax, L1, L5, L10, L33, L50, L90, L95, L99, Lmin, "
                                    "Battery and Temp."
                                 << true;
        QTest::newRow("tape off, any type")
            << Change([](BufferRecord& r) { r.tapeType = 1; }) << "TapeType"
            << "Not used" << false;
        QTest::newRow("tape on") << Change([](BufferRecord& r) {
            r.tapeEnabled = true;
            r.tapeType = 1;
            r.tapePower = 2;
        }) << "TapeType"
                                 << "6V DAT Recorder" << true;
        QTest::newRow("nothing on trigger")
            << Change([](BufferRecord& r) { r.startTriggerType = 5; }) << "StartTrigger"
            << "Not used" << false;
        QTest::newRow("remote switch") << Change([](BufferRecord& r) {
            r.auxiliaryMode = 2;
            r.startTriggerType = 5;
        }) << "StartTrigger"
                                       << "When the remote switch is pressed." << true;
        QTest::newRow("no stop trigger")
            << Change([](BufferRecord& r) { r.leqMode = 2; }) << "StopTrigger"
            << "Not used." << true;
        QTest::newRow("leq off") << none << "LeqLength"
                                 << "n/a" << false;
        QTest::newRow("leq 1 s") << Change([](BufferRecord& r) {
            r.leqMode = 1;
            r.leqLength = 1;
        }) << "LeqLength"
                                 << "1 second" << true;
        QTest::newRow("no timer") << none << "MasterTimer"
                                  << "Not used." << false;
        QTest::newRow("daily timer") << Change([](BufferRecord& r) {
            r.sub.type = 2;
            r.sub.start = {2004, 3, 1, 8, 0, 0};
            r.sub.stop = {2004, 3, 1, 17, 30, 0};
        }) << "SubTimer"
                                     << "Daily.  Logging between 08:00 and 17:30." << true;
        QTest::newRow("started") << none << "LoggingStarted"
                                 << "Monday, 1 March 2004.  08:00:00" << true;
        QTest::newRow("still logging")
            << Change([](BufferRecord& r) { r.stop = UnsetDateTime(); }) << "LoggingStopped"
            << "Logging not yet completed." << false;
        QTest::newRow("damaged start")
            << Change([](BufferRecord& r) { r.start.month = 13; }) << "LoggingStarted"
            << "Logging not yet commenced." << false;
        QTest::newRow("failed read")
            << Change([](BufferRecord& r) { r = EmptyBufferRecord(); }) << "LoggingStarted"
            << "Logging not yet commenced." << false;
    }
    void describes() {
        QFETCH(Change, change);
        QFETCH(QString, line);
        BufferRecord record = Survey();
        change(record);
        QWidget window;
        BuildSummaryPanel(&window);
        DescribeParameters(record, &window);
        const auto* data = window.findChild<QLabel*>("lbl" + line + "Data");
        const auto* heading = window.findChild<QLabel*>("lbl" + line + "Heading");
        QVERIFY(data && heading);
        QTEST(data->text(), "text");
        QTEST(heading->isEnabled(), "used");
    }

    void placementKeepsTheWindowOnScreen_data() {
        QTest::addColumn<int>("mainLeft");
        QTest::addColumn<bool>("bottom");
        QTest::addColumn<QPoint>("expected"); // from the screen's top left
        QTest::newRow("centred") << 100 << false << QPoint(150, 150);
        QTest::newRow("bottom-aligned") << 100 << true << QPoint(150, 200);
        QTest::newRow("past the right edge") << 10000 << true << QPoint(-1, 200);
        QTest::newRow("left of the screen") << -10000 << false << QPoint(0, 150);
    }
    void placementKeepsTheWindowOnScreen() {
        QFETCH(int, mainLeft);
        QFETCH(bool, bottom);
        QFETCH(QPoint, expected);
        QWidget main;
        const QRect screen = main.screen()->geometry();
        main.setGeometry(screen.left() + mainLeft, screen.top() + 100, 400, 300);
        QWidget window;
        window.resize(300, 200);
        bottom ? PlaceBottomAligned(&window, &main) : PlaceCentred(&window, &main);
        if (expected.x() < 0) // flush with the right edge
            expected.setX(screen.width() - 300);
        QCOMPARE(window.pos(), screen.topLeft() + expected);
    }
};

int main(int argc, char** argv) {
    qputenv("LC_ALL", "en_GB.UTF-8");
    QApplication application(argc, argv);
    TestParameterDescription test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_parameterdescription.moc"
