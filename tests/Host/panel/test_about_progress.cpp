// The about window (captions, "Not Linked", Close and the close box only
// hide), the fill panel's percentage and colours, and the progress window.
#include "Controls.h"
#include "FillPanel.h"
#include "ProgressForm.h"
#include "frmAbout.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestAboutProgress : public QObject {
    Q_OBJECT

private slots:
    void aboutCaptions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("MP") << "lblMpVersionCaption"
                            << "MP Version";
        QTest::newRow("DAP") << "lblDapVersionCaption"
                             << "DAP Version";
        QTest::newRow("battery") << "lblBatteryCaption"
                                 << "Logger Battery Voltage";
        QTest::newRow("memory") << "lblMemoryCaption"
                                << "Logger Memory Available";
        QTest::newRow("maker") << "lblMaker"
                               << "Orvane Instruments";
        QTest::newRow("MP value") << "lblMpVersion"
                                  << "Not Linked";
        QTest::newRow("DAP value") << "lblDapVersion"
                                   << "Not Linked";
        QTest::newRow("serial value") << "lblSerialNumber"
                                      << "Not Linked";
        QTest::newRow("battery value") << "lblBattery"
                                       << "Not Linked";
        QTest::newRow("memory value") << "lblMemory"
                                      << "Not Linked";
    }
    void aboutCaptions() {
        QFETCH(QString, name);
        frmAbout about;
        QCOMPARE(about.objectName(), QString("frmAbout"));
        QCOMPARE(about.windowTitle(), QString("About..."));
        QCOMPARE(about.findChild<QPushButton*>("cmdClose")->text(), QString("Close"));
        auto* label = about.findChild<QLabel*>(name);
        QVERIFY(label);
        QTEST(label->text(), "caption");
    }

    // The five logger fields go back to "Not Linked"; the program's version stays.
    void resetData() {
        frmAbout about;
        about.showProgramVersion("1.00.000");
        about.showLoggerIdentity("01-234-567", "4.2", "1.7");
        about.showBattery("12.1V");
        about.showFreeMemory("256kB");
        about.ResetData();
        for (const char* field :
             {"lblMpVersion", "lblDapVersion", "lblSerialNumber", "lblBattery", "lblMemory"})
            QCOMPARE(Control<QLabel>(&about, field)->text(), QString("Not Linked"));
        QCOMPARE(Control<QLabel>(&about, "lblVersion")->text(), QString("1.00.000"));
    }

    void closeOnlyHides_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Close") << false;
        QTest::newRow("close box") << true;
    }
    void closeOnlyHides() {
        QFETCH(bool, closeBox);
        QWidget mainWindow;
        QPointer<frmAbout> about = new frmAbout(&mainWindow);
        about->show();
        Control<QLabel>(about, "lblSerialNumber")->setText("01-234-567");
        if (closeBox)
            about->close();
        else
            QTest::mouseClick(Control<QPushButton>(about, "cmdClose"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(about);
        QVERIFY(!about->isVisible());
        about->show(); // shown again as it was
        QCOMPARE(Control<QLabel>(about, "lblSerialNumber")->text(), QString("01-234-567"));
    }

    // Clamped to 0 … 100; the text turns white at 51.
    void fillPercent_data() {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QColor>("textColour");
        QTest::newRow("0") << 0 << 0 << QColor(Qt::black);
        QTest::newRow("50") << 50 << 50 << QColor(Qt::black);
        QTest::newRow("51") << 51 << 51 << QColor(Qt::white);
        QTest::newRow("100") << 100 << 100 << QColor(Qt::white);
        QTest::newRow("below 0") << -5 << 0 << QColor(Qt::black);
        QTest::newRow("above 100") << 150 << 100 << QColor(Qt::white);
    }
    void fillPercent() {
        QFETCH(int, set);
        QFETCH(int, shown);
        FillPanel panel;
        panel.setFillPercent(set);
        QCOMPARE(panel.fillPercent(), shown);
        QTEST(panel.textColor(), "textColour");
        QCOMPARE(panel.text(), QString::number(shown) + '%');
        panel.setShowPercentage(false);
        QCOMPARE(panel.text(), QString());
    }

    // Drawn filled from the left in the fill colour, the rest in the background.
    void fillIsPainted_data() {
        QTest::addColumn<int>("percent");
        QTest::newRow("10") << 10;
        QTest::newRow("40") << 40;
        QTest::newRow("90") << 90;
    }
    void fillIsPainted() {
        QFETCH(int, percent);
        FillPanel panel;
        panel.setShowPercentage(false);
        panel.resize(200, 20);
        panel.setFillColor(QColor(0, 0, 128));
        panel.setBackgroundColor(QColor(192, 192, 192));
        panel.setFillPercent(percent);
        const QImage image = panel.grab().toImage();
        const int y = image.height() / 2;
        const int edge = image.width() * percent / 100;
        QCOMPARE(image.pixelColor(edge - 4, y), QColor(0, 0, 128));
        QCOMPARE(image.pixelColor(edge + 4, y), QColor(192, 192, 192));
    }

    void progressWindow() {
        ProgressForm progress;
        QCOMPARE(progress.objectName(), QString("ProgressForm"));
        QSignalSpy changes(Control<FillPanel>(&progress, "pnlProgress"),
                           &FillPanel::fillPercentChanged);
        progress.setStepText("Loading set clock window...");
        progress.set_value(12);
        QCOMPARE(Control<QLabel>(&progress, "lblProgress")->text(),
                 QString("Loading set clock window..."));
        QCOMPARE(progress.value(), 12);
        QCOMPARE(Control<FillPanel>(&progress, "pnlProgress")->textColor(), QColor(Qt::black));
        progress.set_value(12); // the value already shown: nothing happens
        QCOMPARE(changes.size(), 1);
        progress.set_value(62);
        QCOMPARE(changes.size(), 2);
        QCOMPARE(Control<FillPanel>(&progress, "pnlProgress")->textColor(), QColor(Qt::white));
        QCOMPARE(Control<FillPanel>(&progress, "pnlProgress")->text(), QString("62%"));
        progress.set_value(0); // reset after loading
        QCOMPARE(progress.value(), 0);
        QCOMPARE(Control<FillPanel>(&progress, "pnlProgress")->textColor(), QColor(Qt::black));
    }
};

QTEST_MAIN(TestAboutProgress)
#include "test_about_progress.moc"
