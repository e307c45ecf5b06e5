// The status poll and the panel's displays, weightings, update rate, peak
// hold, overload, reset, and the enabling rules in each state.
#include "LevelMeter.h"
#include "PanelFixture.h"

using Answer = MessageAnswerer::Answer;

class TestMainStatus : public QObject {
    Q_OBJECT

    static void setLevel(PanelFixture& f, int tenths) {
        f.sim.model().setLevel(tenths);
        f.poll();
    }

private slots:
    void levelTextAndBarLimits() {
        PanelFixture f;
        QVERIFY(f.start());
        QVERIFY(f.link());
        auto* meter = f.find<LevelMeter>("Image1");
        setLevel(f, 734);
        QCOMPARE(f.text("boxSPL"), QString("73.4"));
        QVERIFY(meter->barVisible());
        setLevel(f, 1450);
        QCOMPARE(f.text("boxSPL"), QString("145.0"));
        const int full = meter->barLength();
        setLevel(f, 1451); // beyond the display: bar hidden, text left as it was
        QVERIFY(!meter->barVisible());
        QCOMPARE(f.text("boxSPL"), QString("145.0"));
        setLevel(f, 150);
        QCOMPARE(f.text("boxSPL"), QString("15.0"));
        QVERIFY(meter->barVisible());
        const int minimum = meter->barLength();
        QVERIFY(minimum > 0 && minimum < full);
        QCOMPARE(minimum, (280 - 270) * (meter->width() - 16) / 1150); // clamped to 28 dB
        setLevel(f, 149);
        QVERIFY(!meter->barVisible());
    }

    void peakHoldKeepsTheHighest() {
        PanelFixture f;
        QVERIFY(f.start());
        QVERIFY(f.link());
        f.item("PeakHoldItem")->trigger();
        QVERIFY(f.button("ResetPeakHoldButton")->isVisible());
        QCOMPARE(f.panel->statusTimer()->interval(), 125);
        setLevel(f, 900);
        setLevel(f, 600);
        QCOMPARE(f.text("boxSPL"), QString("90.0"));
        f.button("ResetPeakHoldButton")->click();
        setLevel(f, 600);
        QCOMPARE(f.text("boxSPL"), QString("60.0"));
        // Update rate 2 while peak hold is on: 8 per second until it ends.
        f.item("UpdateRateItem2")->trigger();
        QCOMPARE(f.panel->statusTimer()->interval(), 125);
        f.item("PeakHoldItem")->trigger();
        QCOMPARE(f.panel->statusTimer()->interval(), 500);
        QVERIFY(!f.button("ResetPeakHoldButton")->isVisible());
    }

    void overloadShownUntilCleared() {
        PanelFixture f;
        QVERIFY(f.start());
        QVERIFY(f.link());
        f.sim.model().setOverload(true);
        f.poll();
        QPushButton* indication = f.button("OverloadIndicatio");
        QVERIFY(indication->isEnabled());
        QCOMPARE(indication->text(), QString("&Reset"));
        QCOMPARE(f.text("lblOverload"), QString("Overload"));
        f.poll(); // the logger keeps its flag: still shown
        QCOMPARE(f.text("lblOverload"), QString("Overload"));
        f.sim.clearHostBytes();
        indication->click();
        QTRY_COMPARE(QByteArray::fromStdString(f.wire()), QByteArray("\x01v"));
        QVERIFY(!indication->isEnabled());
        QVERIFY(f.text("lblOverload").isEmpty());
        f.poll();
        QVERIFY(!f.sim.model().overload());
        QVERIFY(f.text("lblOverload").isEmpty());
    }

    void weightingsInStandby() {
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.model().setFrequencyWeighting(1);
        f.sim.model().setTimeWeighting(0);
        QVERIFY(f.link());
        QCOMPARE(f.text("lblUnits"), QString("dB A,F"));
        f.button("FreqWeightingButton0")->click();
        QCOMPARE(f.sim.model().frequencyWeighting(), 0);
        QCOMPARE(f.text("lblUnits"), QString("dB C,F"));
        QCOMPARE(PanelFixture::store().value("SettingCurrent/Frequency").toString(),
                 QString("False"));
        f.item("TimeAveragingItem1")->trigger();
        QCOMPARE(f.sim.model().timeWeighting(), 1);
        QCOMPARE(f.text("lblUnits"), QString("dB C,S"));
        QVERIFY(f.item("TimeAveragingItem1")->isChecked());
    }

    void weightingsRefusedWhileLogging() {
        PanelFixture f;
        QVERIFY(f.start());
        f.sim.model().setFrequencyWeighting(1);
        f.sim.model().setMode(1);
        QVERIFY(f.link());
        QVERIFY(f.text("ModeBox").startsWith("Logging"));
        f.sim.clearHostBytes();
        f.button("FreqWeightingButton0")->click();
        QVERIFY(f.wire().find("\x01"
                              "F") == std::string::npos);
        QCOMPARE(f.sim.model().frequencyWeighting(), 1);
        QVERIFY(f.button("FreqWeightingButton1")->isChecked());
        QCOMPARE(f.text("lblUnits"), QString("dB A,F"));
    }

    void enablingWhileLogging() {
        PanelFixture f;
        QVERIFY(f.start());
        f.provideActivities();
        f.sim.model().fillMemory();
        f.sim.model().setMode(1);
        QVERIFY(f.link());
        QVERIFY(f.text("ModeBox").startsWith("Logging (Est "));
        QVERIFY(f.text("ModeBox").endsWith(" left)"));
        QCOMPARE(f.button("LoggingButton")->text(), QString("S&top..."));
        QCOMPARE(f.item("LoggingItem")->text(), QString("&Stop Logging"));
        QVERIFY(f.button("DetailsButton")->isEnabled());
        QVERIFY(f.button("ViewLastButton")->isEnabled());
        QVERIFY(!f.button("CalibrateButton")->isEnabled());
    }

    void enablingUnlinked() {
        PanelFixture f;
        QVERIFY(f.start());
        for (const char* name : {"LoggingButton", "DownloadButton", "CalibrateButton",
                                 "DetailsButton", "ViewLastButton", "FreqWeightingButton1"})
            QVERIFY2(!f.button(name)->isEnabled(), name);
        QVERIFY(f.button("cmdLink")->isEnabled());
        QVERIFY(f.button("GraphButton")->isEnabled());
    }

    void lastResultsWithoutData() {
        PanelFixture f;
        QVERIFY(f.start());
        f.provideActivities();
        f.sim.model().clearBuffers();
        f.sim.model().setMode(1);
        QVERIFY(f.link());
        MessageAnswerer answers;
        f.button("ViewLastButton")->click();
        QCOMPARE(answers.seen.size(), 1);
        QCOMPARE(answers.seen.first().title, QString("Orv"));
        QCOMPARE(answers.seen.first().text,
                 QString("There is currently no data available for viewing."));
    }

    void resetWhileLinked() {
        PanelFixture f;
        QVERIFY(f.start());
        QVERIFY(f.link());
        MessageAnswerer answers({Answer::Confirm});
        f.sim.clearHostBytes();
        f.item("ResetLoggerItem")->trigger();
        QCOMPARE(answers.seen.first().title, QString("Confirm Reset"));
        QVERIFY(!Session().linked);
        QTRY_VERIFY(f.wire().find("\x01n") != std::string::npos); // "n" asks for no reply
        const std::string wire = f.wire();
        QVERIFY(wire.find("\x01g") != std::string::npos);
        QVERIFY(wire.find("\x01n") > wire.find("\x01g"));
        QCOMPARE(f.button("cmdLink")->text(), QString("Lin&k"));
    }

    void resetWhileUnlinked() {
        PanelFixture f;
        QVERIFY(f.start());
        MessageAnswerer answers({Answer::Confirm});
        ModalAnswerer boxes;
        f.item("ResetLoggerItem")->trigger();
        QCOMPARE(boxes.lastText(), QString("Logger reset"));
        QVERIFY(!Session().linked);
        QTRY_VERIFY(f.wire().find("\x01n") != std::string::npos); // "n" asks for no reply
        const std::string wire = f.wire();
        QVERIFY(wire.find("\x01g") != std::string::npos);
        QVERIFY(wire.find("\x01n") > wire.find("\x01g"));
    }

    void resetAnsweredNoDoesNothing() {
        PanelFixture f;
        QVERIFY(f.start());
        QVERIFY(f.link());
        MessageAnswerer answers({Answer::Cancel});
        f.sim.clearHostBytes();
        f.item("ResetLoggerItem")->trigger();
        QVERIFY(Session().linked);
        QVERIFY(f.wire().find("\x01g") == std::string::npos);
    }
};

QTEST_MAIN(TestMainStatus)
#include "test_main_status.moc"
