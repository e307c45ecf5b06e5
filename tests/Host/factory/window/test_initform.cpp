// The initialisation and debugging window against the simulated logger: each
// command with its bytes on the wire, the refused entries, the raw display,
// the manual screen, factory calibration and the factory button.
#include "ActivityWindows.h"
#include "Controls.h"
#include "ExchangeGuard.h"
#include "FactoryFixture.h"
#include "SysCalForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

class TestInitForm : public QObject {
    Q_OBJECT

    std::unique_ptr<FactoryFixture> m_fixture;

    InitForm* form() const { return m_fixture->form; }
    bool done() {
        return QTest::qWaitFor([] { return QueueIsEmpty() && !QueueRunInProgress(); });
    }

private slots:
    void init() {
        PanelFixture::store().clear();
        m_fixture = std::make_unique<FactoryFixture>();
    }
    void cleanup() { m_fixture.reset(); }

    void factoryButton_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("shown");
        QTest::newRow("the word") << QStringList{"KelpMarker"} << true;
        QTest::newRow("no word") << QStringList{} << false;
        QTest::newRow("another case") << QStringList{"kelpmarker"} << false;
        QTest::newRow("with more") << QStringList{"KelpMarker", "x"} << false;
    }
    void factoryButton() {
        QFETCH(QStringList, arguments);
        QVERIFY(m_fixture->panel.start(arguments));
        QTEST(m_fixture->panel.button("InitButton")->isVisibleTo(m_fixture->panel.panel.get()),
              "shown");
        QCOMPARE(m_fixture->panel.button("InitButton")->text(), QStringLiteral("&Init"));
    }

    // Factory calibration is reached from the factory window alone, once Init
    // has switched its controls on, as the program wires the windows.
    void factoryCalibration() {
        QVERIFY(m_fixture->panel.start({"KelpMarker"}));
        CreateActivityWindows(*m_fixture->panel.panel);
        QVERIFY(m_fixture->panel.link());
        auto* calibration = m_fixture->panel.panel->findChild<SysCalForm*>();
        auto* factory = m_fixture->panel.panel->findChild<InitForm*>();
        QVERIFY(calibration && factory);
        m_fixture->panel.button("InitButton")->click();
        QVERIFY(factory->isVisible());
        QVERIFY(!Control<QPushButton>(factory, "FactoryCalibrationButton")->isEnabledTo(factory));
        Control<QPushButton>(factory, "InitButton")->click();
        QVERIFY(Control<QPushButton>(factory, "FactoryCalibrationButton")->isEnabledTo(factory));
        Control<QPushButton>(factory, "FactoryCalibrationButton")->click();
        QTRY_VERIFY(calibration->isVisible());
        QCOMPARE(calibration->mode(), qint16(SysCalForm::FactoryMode));
        QCOMPARE(calibration->windowTitle(), QStringLiteral("Factory System Calibration..."));
    }

    // Init switches every control on and off again, and reads the range.
    void initToggles() {
        m_fixture->model().setRange(2);
        QVERIFY(m_fixture->open());
        QVERIFY(m_fixture->sent(Bytes({1, 'l', 2})));
        QCOMPARE(Control<QComboBox>(form(), "RangeCombo")->currentIndex(), 2);
        QCOMPARE(form()->windowTitle(), QStringLiteral("QN-7x Initialisation and Debugging Form."));
        const QList<QWidget*> toggled{Control<QCheckBox>(form(), "LoggerTerminateCheck"),
                                      Control<QGroupBox>(form(), "CalibrationFrame"),
                                      Control<QGroupBox>(form(), "SerialNumberFrame"),
                                      Control<QGroupBox>(form(), "FilterFrame"),
                                      Control<QGroupBox>(form(), "RawFrame"),
                                      Control<QPushButton>(form(), "ManualButton")};
        for (QWidget* control : toggled)
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
        Control<QPushButton>(form(), "InitButton")->click();
        for (QWidget* control : toggled)
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
        QVERIFY(Control<QPushButton>(form(), "InitButton")->isEnabled());
    }

    void commands_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("first");  // typed into the serial number or Filter A
        QTest::addColumn<QString>("second"); // typed into Filter B
        QTest::addColumn<std::string>("sent");
        QTest::newRow("serial number") << "SerialNumberButton"
                                       << "87654321"
                                       << "" << Bytes({1, 'I', 3, 0x05, 0x39, 0x7F, 0xB1, 2});
        QTest::newRow("auto ranging") << "RangeCombo"
                                      << ""
                                      << "" << Bytes({1, 'L', 3, 3, 2});
        QTest::newRow("set filter") << "SetFilterButton"
                                    << "200"
                                    << "7" << Bytes({1, '>', 3, 200, 3, 7});
        QTest::newRow("get filter") << "GetFilterButton"
                                    << ""
                                    << "" << Bytes({1, '<', 2, 2});
    }
    void commands() {
        QFETCH(QString, control);
        QFETCH(QString, first);
        QFETCH(QString, second);
        m_fixture->model().setFilters(9, 254);
        QVERIFY(m_fixture->open());
        m_fixture->clearWire();
        if (control == "SerialNumberButton") {
            QTest::keyClicks(Control<QLineEdit>(form(), "SerialNumberText"), first);
        } else if (control == "SetFilterButton") {
            Control<QLineEdit>(form(), "FilterAText")->setText(first);
            Control<QLineEdit>(form(), "FilterBText")->setText(second);
        }
        if (control == "RangeCombo") {
            Control<QComboBox>(form(), "RangeCombo")->setFocus();
            QTest::keyClick(Control<QComboBox>(form(), "RangeCombo"),
                            Qt::Key_End); // as chosen from the keyboard
        } else {
            form()->findChild<QPushButton*>(control)->click();
        }
        QVERIFY(done());
        QFETCH(std::string, sent);
        QTRY_COMPARE(m_fixture->wire(), sent); // Set Filter asks for no reply to wait for
        LoggerModel& logger = m_fixture->model();
        if (control == "SerialNumberButton") {
            QCOMPARE(logger.serialNumber(), 87654321);
            QVERIFY(Control<QLineEdit>(form(), "SerialNumberText")->isEnabled());
        } else if (control == "RangeCombo") {
            QCOMPARE(logger.range(), 3);
        } else if (control == "SetFilterButton") {
            QCOMPARE(logger.filterA(), 200);
            QCOMPARE(logger.filterB(), 7);
        } else {
            QCOMPARE(Control<QLineEdit>(form(), "FilterAText")->text(), QStringLiteral("9"));
            QCOMPARE(Control<QLineEdit>(form(), "FilterBText")->text(), QStringLiteral("254"));
        }
    }

    void refusals_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("message");
        const QString serial = "Invalid serial number!!";
        const QString filter = "Invalid filter value!! Enter a whole number from 0 to 255.";
        QTest::newRow("negative serial") << "SerialNumberButton"
                                         << "-5"
                                         << "" << serial;
        QTest::newRow("decimal serial") << "SerialNumberButton"
                                        << "1.5"
                                        << "" << serial;
        QTest::newRow("serial too big") << "SerialNumberButton"
                                        << "2147483648"
                                        << "" << serial;
        QTest::newRow("empty serial") << "SerialNumberButton"
                                      << ""
                                      << "" << serial;
        QTest::newRow("filter too big") << "SetFilterButton"
                                        << "256"
                                        << "1" << filter;
        QTest::newRow("filter not a number") << "SetFilterButton"
                                             << "3"
                                             << "x" << filter;
    }
    void refusals() {
        QFETCH(QString, control);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QVERIFY(m_fixture->open());
        MessageAnswerer answerer;
        m_fixture->clearWire();
        if (control == "SerialNumberButton") {
            Control<QLineEdit>(form(), "SerialNumberText")->setText(first);
        } else {
            Control<QLineEdit>(form(), "FilterAText")->setText(first);
            Control<QLineEdit>(form(), "FilterBText")->setText(second);
        }
        form()->findChild<QPushButton*>(control)->click();
        QTRY_COMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen[0].title, QStringLiteral("Orv"));
        QTEST(answerer.seen[0].text, "message");
        QVERIFY(done());
        QVERIFY(Control<QLineEdit>(form(), "SerialNumberText")->isEnabled());
        // The next exchange is the first on the wire: the refused one sent nothing.
        Control<QPushButton>(form(), "GetFilterButton")->click();
        QCOMPARE(m_fixture->wire(), Bytes({1, '<', 2, 2}));
        QCOMPARE(m_fixture->model().serialNumber(), 12345678);
        QCOMPARE(m_fixture->model().filterA(), 120);
    }

    // The filter buttons talk to the logger themselves, so not into another exchange.
    void filtersWaitForTheLine_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("get") << "GetFilterButton";
        QTest::newRow("set") << "SetFilterButton";
    }
    void filtersWaitForTheLine() {
        QFETCH(QString, control);
        QVERIFY(m_fixture->open());
        Control<QLineEdit>(form(), "FilterAText")->setText("1");
        Control<QLineEdit>(form(), "FilterBText")->setText("2");
        m_fixture->clearWire();
        {
            ExchangeScope busy;
            form()->findChild<QPushButton*>(control)->click();
        }
        QCOMPARE(Control<QLineEdit>(form(), "FilterAText")->text(), QStringLiteral("1"));
        Control<QPushButton>(form(), "GetFilterButton")->click();
        QCOMPARE(m_fixture->wire(), Bytes({1, '<', 2, 2}));
    }

    // While the raw display is on the status poll also reads the raw level.
    void rawDisplay() {
        QVERIFY(m_fixture->open());
        QCOMPARE(Control<QPushButton>(form(), "RawButton")->text(), QStringLiteral("Turn on Raw"));
        Control<QPushButton>(form(), "RawButton")->click();
        QCOMPARE(Control<QPushButton>(form(), "RawButton")->text(), QStringLiteral("Turn off Raw"));
        m_fixture->clearWire();
        m_fixture->panel.poll();
        QVERIFY(done());
        QVERIFY(m_fixture->sent(Bytes({1, 'z', 2})));
        QCOMPARE(Control<QLabel>(form(), "boxSPL")->text(),
                 QString::number(m_fixture->model().rawLevel()));

        Control<QPushButton>(form(), "RawButton")->click();
        QCOMPARE(Control<QPushButton>(form(), "RawButton")->text(), QStringLiteral("Turn on Raw"));
        QCOMPARE(Control<QLabel>(form(), "boxSPL")->text(), QStringLiteral(" "));
        m_fixture->clearWire();
        m_fixture->panel.poll();
        QVERIFY(done());
        QVERIFY(m_fixture->sent(Bytes({1, '1', 2})));
        QVERIFY(!m_fixture->sent(Bytes({1, 'z'})));
    }

    void manualScreenStopsPolling() {
        QVERIFY(m_fixture->open());
        m_fixture->panel.panel->statusTimer()->start();
        Control<QPushButton>(form(), "ManualButton")->click();
        QVERIFY(!m_fixture->panel.panel->statusTimer()->isActive());
        QVERIFY(form()->histogram()->isVisible());
        QVERIFY(form()->isVisible());
    }

    void terminateSwitch_data() {
        QTest::addColumn<bool>("stopping");
        QTest::newRow("downloads stop at the terminator") << true;
        QTest::newRow("downloads read past it") << false;
    }
    void terminateSwitch() {
        QFETCH(bool, stopping);
        QVERIFY(m_fixture->open());
        form()->hide();
        m_fixture->download->stopAtTerminator = stopping;
        form()->open();
        QCOMPARE(Control<QCheckBox>(form(), "LoggerTerminateCheck")->isChecked(), stopping);
        Control<QCheckBox>(form(), "LoggerTerminateCheck")->click();
        QCOMPARE(m_fixture->download->stopAtTerminator, !stopping);
    }
};

QTEST_MAIN(TestInitForm)
#include "test_initform.moc"
