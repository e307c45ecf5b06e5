// The X and Y axis dialogs' checks and read-back, the line style dialog's
// weights, styles and colour, and the data set dialog's rows, on real dialogs.

#include "DateSerial.h"
#include "DialogDriver.h"
#include "LineStyleControls.h"
#include "ModalAnswerer.h"
#include "TimeFormats.h"
#include "frmDataSet.h"
#include "frmEditDataSet.h"
#include "frmXAxis.h"
#include "frmYAxis.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

template <typename T> T* child(QWidget* dialog, const QString& name) {
    T* found = dialog->findChild<T*>(name);
    if (!found)
        qFatal("no %s", qPrintable(name));
    return found;
}

// The dialog's own button, not one of a dialog it owns.
void press(QWidget* dialog, const char* name) {
    for (auto* button : dialog->findChildren<QPushButton*>(QString::fromLatin1(name))) {
        if (button->window() == dialog)
            return button->click();
    }
    qFatal("no %s", name);
}

// Presses OK; when a check refuses it, records the message and the box with
// the focus, then cancels.
struct Outcome {
    QString message;
    QString focus;
};

void okOrCancel(QWidget* dialog, ModalAnswerer& answerer, Outcome& outcome) {
    press(dialog, "cmdOK");
    if (!dialog->isVisible())
        return;
    outcome.message = answerer.lastText();
    outcome.focus = dialog->focusWidget() ? dialog->focusWidget()->objectName() : "";
    press(dialog, "cmdCancel");
}

// Replaces a box's text as typing does (an input method's text for scripts
// without key codes).
void type(QLineEdit* box, const QString& text) {
    box->clear();
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(box, &typed);
}

double serial(int day, int hour, int minute) {
    return DateSerial::fromDateTime(QDateTime(QDate(2003, 12, day), QTime(hour, minute), Qt::UTC));
}

} // namespace

class AxisDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void levelChecks_data();
    void levelChecks();
    void levelValuesInTheLocalesForm_data();
    void levelValuesInTheLocalesForm();
    void timeChecks_data();
    void timeChecks();
    void timeRangeIgnoredInOtherModes();
    void timeBoxesReadBackTheirOwnForm_data();
    void timeBoxesReadBackTheirOwnForm();
    void heavierWeightsAreSolid();
    void colourComesFromTheColourDialog();
    void dataSetRowsFollowTheSets();
};

void AxisDialogsTest::levelChecks_data() {
    QTest::addColumn<QString>("manual");    // the Auto boxes unticked, as "Min,Max,..."
    QTest::addColumn<QStringList>("texts"); // min, max, major, minor
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QStringList fine = {"40", "90", "10", "1"};
    QTest::newRow("automatic text not checked") << "" << QStringList{"abc", "x", "", "?"} << ""
                                                << "";
    QTest::newRow("manual min not a number")
        << "Min" << QStringList{"abc", "90", "10", "1"} << "Invalid value for the minimum value."
        << "txtMin";
    QTest::newRow("manual max not a number")
        << "Max" << QStringList{"40", "", "10", "1"} << "Invalid value for the maximum value."
        << "txtMax";
    QTest::newRow("equal min and max") << "Min,Max" << QStringList{"80", "80", "10", "1"}
                                       << "Minimum value must be less than the maximum value."
                                       << "txtMin";
    QTest::newRow("equal, max automatic") << "Min" << QStringList{"80", "80", "10", "1"} << ""
                                          << "";
    QTest::newRow("major of zero")
        << "Major" << QStringList{"40", "90", "0", "1"} << "Invalid value for the major value."
        << "txtMajor";
    QTest::newRow("minor below zero")
        << "Minor" << QStringList{"40", "90", "10", "-1"} << "Invalid value for the minor value."
        << "txtMinor";
    QTest::newRow("minor as large as major")
        << "Major,Minor" << QStringList{"40", "90", "5", "5"}
        << "Minor scale value must be less than the major scale value."
        << "txtMinor";
    QTest::newRow("all manual") << "Min,Max,Major,Minor" << fine << ""
                                << "";
}

void AxisDialogsTest::levelChecks() {
    QFETCH(QString, manual);
    QFETCH(QStringList, texts);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    frmYAxis dialog(QLocale(QStringLiteral("en_GB")));
    ModalAnswerer answerer;
    Outcome outcome;
    whenModal<frmYAxis>([&](frmYAxis* d) {
        const QStringList fields = {"Min", "Max", "Major", "Minor"};
        for (int i = 0; i < 4; ++i) {
            auto* box = child<QLineEdit>(d, "txt" + fields[i]);
            box->clear();
            QTest::keyClicks(box, texts[i]);
            // Typing unticks Auto; tick it again where the row means automatic.
            if (!texts[i].isEmpty())
                QVERIFY(!child<QCheckBox>(d, "chk" + fields[i])->isChecked());
            child<QCheckBox>(d, "chk" + fields[i])
                ->setChecked(!manual.split(',').contains(fields[i]));
        }
        okOrCancel(d, answerer, outcome);
    });
    LevelAxis axis;
    const LevelAxis before = axis;
    const bool accepted = dialog.edit(axis);
    QCOMPARE(outcome.message, message);
    QCOMPARE(outcome.focus, focus);
    QCOMPARE(accepted, message.isEmpty());
    if (accepted) {
        QCOMPARE(axis.autoMin, !manual.contains("Min"));
        if (manual.contains("Major"))
            QCOMPARE(axis.majorStep, texts[2].toFloat());
    } else {
        QCOMPARE(axis.min, before.min);
        QCOMPARE(axis.autoMin, before.autoMin);
    }
}

void AxisDialogsTest::levelValuesInTheLocalesForm_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << "de_DE"
                           << "37,5" << 37.5;
    QTest::newRow("point under a comma locale") << "de_DE"
                                                << "37.5" << 37.5;
    QTest::newRow("point is no group separator") << "de_DE"
                                                 << "1.500" << 1.5;
    QTest::newRow("point") << "en_GB"
                           << "37.5" << 37.5;
    QTest::newRow("own digits") << "ar_EG" << QString::fromUtf8("٣٧٫٥") << 37.5;
}

void AxisDialogsTest::levelValuesInTheLocalesForm() {
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(double, value);
    const QLocale regional(locale);
    frmYAxis dialog(regional);
    ModalAnswerer answerer;
    Outcome outcome;
    QString filled;
    whenModal<frmYAxis>([&](frmYAxis* d) {
        filled = child<QLineEdit>(d, "txtMax")->text();
        type(child<QLineEdit>(d, "txtMin"), typed);
        okOrCancel(d, answerer, outcome);
    });
    LevelAxis axis;
    axis.max = 92.5f;
    QVERIFY(dialog.edit(axis));
    QCOMPARE(outcome.message, QString());
    // Shown as the axis labels show it.
    QCOMPARE(filled, regional.toString(92.5));
    QVERIFY(!axis.autoMin);
    QCOMPARE(axis.min, float(value));
}

void AxisDialogsTest::timeChecks_data() {
    QTest::addColumn<QStringList>("texts"); // start date, start time, end date, end time
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::newRow("in order") << QStringList{"30/12/2003", "14:05", "31/12/2003", "08:00"} << ""
                              << "" << serial(30, 14, 5) << serial(31, 8, 0);
    QTest::newRow("end before start swaps")
        << QStringList{"31/12/2003", "08:00", "30/12/2003", "14:05"} << ""
        << "" << serial(30, 14, 5) << serial(31, 8, 0);
    QTest::newRow("start time") << QStringList{"30/12/2003", "25:99", "31/12/2003", "08:00"}
                                << "Start time is invalid."
                                << "txtTime0" << 0.0 << 0.0;
    QTest::newRow("start date") << QStringList{"32/12/2003", "14:05", "31/12/2003", "08:00"}
                                << "Start date is invalid."
                                << "txtDate0" << 0.0 << 0.0;
    QTest::newRow("end time") << QStringList{"30/12/2003", "14:05", "31/12/2003", "noon"}
                              << "End time is invalid."
                              << "txtTime1" << 0.0 << 0.0;
    QTest::newRow("end date") << QStringList{"30/12/2003", "14:05", "", "08:00"}
                              << "End date is invalid."
                              << "txtDate1" << 0.0 << 0.0;
    QTest::newRow("no extent") << QStringList{"30/12/2003", "14:05", "30/12/2003", "14:05"}
                               << "End is not valid."
                               << "txtTime1" << 0.0 << 0.0;
}

void AxisDialogsTest::timeChecks() {
    QFETCH(QStringList, texts);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(double, start);
    QFETCH(double, end);
    frmXAxis dialog(QLocale(QStringLiteral("en_GB")));
    ModalAnswerer answerer;
    Outcome outcome;
    whenModal<frmXAxis>([&](frmXAxis* d) {
        const QStringList names = {"txtDate0", "txtTime0", "txtDate1", "txtTime1"};
        for (int i = 0; i < 4; ++i) {
            auto* box = child<QLineEdit>(d, names[i]);
            box->clear();
            QTest::keyClicks(box, texts[i]);
        }
        // Typing chose "Zoom to be between".
        QVERIFY(child<QRadioButton>(d, "optZoom4")->isChecked());
        okOrCancel(d, answerer, outcome);
    });
    TimeAxis axis;
    const bool accepted = dialog.edit(axis);
    QCOMPARE(outcome.message, message);
    QCOMPARE(outcome.focus, focus);
    QCOMPARE(accepted, message.isEmpty());
    QCOMPARE(axis.mode, accepted ? 4 : 0);
    if (accepted) {
        QCOMPARE(axis.start, start);
        QCOMPARE(axis.end, end);
    }
}

void AxisDialogsTest::timeBoxesReadBackTheirOwnForm_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<QTime>("typedEnd"); // invalid: OK on the boxes as filled
    const QDate day(2003, 12, 30);
    const auto at = [day](QTime time) { return QDateTime(day, time, Qt::UTC); };
    QTest::newRow("zoom under a minute")
        << "en_GB" << at(QTime(14, 5, 10, 250)) << at(QTime(14, 5, 30, 750)) << QTime();
    QTest::newRow("seconds typed")
        << "en_GB" << at(QTime(14, 5, 10)) << at(QTime(14, 7, 20)) << QTime(14, 6, 45);
    QTest::newRow("H.mm") << "fi_FI" << at(QTime(14, 0)) << at(QTime(16, 0)) << QTime(15, 30);
    QTest::newRow("AM/PM first") << "ko_KR" << at(QTime(14, 0)) << at(QTime(16, 0))
                                 << QTime(15, 30);
    QTest::newRow("AM/PM last") << "en_US" << at(QTime(9, 0)) << at(QTime(16, 0)) << QTime();
}

void AxisDialogsTest::timeBoxesReadBackTheirOwnForm() {
    QFETCH(QString, locale);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    QFETCH(QTime, typedEnd);
    const QLocale regional(locale);
    const bool seconds = start.time().second() != 0;
    const QString format =
        seconds ? secondsTimeFormat(regional) : regional.timeFormat(QLocale::ShortFormat);
    frmXAxis dialog(regional);
    ModalAnswerer answerer;
    Outcome outcome;
    QString filled;
    whenModal<frmXAxis>([&](frmXAxis* d) {
        filled = child<QLineEdit>(d, "txtTime0")->text();
        if (typedEnd.isValid()) {
            type(child<QLineEdit>(d, "txtTime1"), regional.toString(typedEnd, format));
        }
        okOrCancel(d, answerer, outcome);
    });
    TimeAxis axis;
    axis.mode = 4;
    axis.start = DateSerial::fromDateTime(start);
    axis.end = DateSerial::fromDateTime(end);
    QVERIFY(dialog.edit(axis));
    QCOMPARE(outcome.message, QString());
    QCOMPARE(filled, regional.toString(start.time(), format));
    QCOMPARE(axis.start, DateSerial::fromDateTime(start));
    const QDateTime expectedEnd =
        typedEnd.isValid() ? QDateTime(end.date(), typedEnd, Qt::UTC) : end;
    QCOMPARE(axis.end, DateSerial::fromDateTime(expectedEnd));
}

void AxisDialogsTest::timeRangeIgnoredInOtherModes() {
    frmXAxis dialog(QLocale(QStringLiteral("en_GB")));
    whenModal<frmXAxis>([](frmXAxis* d) {
        child<QLineEdit>(d, "txtDate0")->setText("not a date");
        child<QRadioButton>(d, "optZoom2")->setChecked(true);
        child<GridGroup>(d, "fraMajor")->setGridStyle(2);
        press(d, "cmdOK");
    });
    TimeAxis axis;
    axis.start = serial(30, 0, 0);
    axis.end = serial(31, 0, 0);
    QVERIFY(dialog.edit(axis));
    QCOMPARE(axis.mode, 2);
    QCOMPARE(axis.start, serial(30, 0, 0));
    QCOMPARE(axis.majorGrid, 2);
    QCOMPARE(axis.minorGrid, -1);
}

void AxisDialogsTest::heavierWeightsAreSolid() {
    frmEditDataSet dialog;
    whenModal<frmEditDataSet>([](frmEditDataSet* d) {
        QVERIFY(child<QRadioButton>(d, "optStyle1")->isChecked());
        child<QRadioButton>(d, "optWeight3")->click();
        QVERIFY(child<QRadioButton>(d, "optStyle0")->isChecked());
        for (int style = 1; style <= 4; ++style)
            QVERIFY(!child<QRadioButton>(d, QStringLiteral("optStyle%1").arg(style))->isEnabled());
        QCOMPARE(child<LineSample>(d, "pbxSample")->weight(), 3);
        child<QRadioButton>(d, "optWeight1")->click();
        QVERIFY(child<QRadioButton>(d, "optStyle4")->isEnabled());
        press(d, "cmdOK");
    });
    int style = 1;
    int weight = 1;
    QColor colour = Qt::blue;
    QVERIFY(dialog.edit(style, weight, colour));
    QCOMPARE(style, 0);
    QCOMPARE(weight, 1);
    QCOMPARE(colour, QColor(Qt::blue));
}

void AxisDialogsTest::colourComesFromTheColourDialog() {
    frmEditDataSet dialog;
    QColor offered;
    dialog.setColourSource([&offered](const QColor& current, QWidget*) {
        offered = current;
        return QColor(0, 128, 128);
    });
    whenModal<frmEditDataSet>([](frmEditDataSet* d) {
        child<QPushButton>(d, "pbxColour")->click();
        QCOMPARE(child<LineSample>(d, "pbxSample")->colour(), QColor(0, 128, 128));
        press(d, "cmdOK");
    });
    int style = 2;
    int weight = 1;
    QColor colour = Qt::red;
    QVERIFY(dialog.edit(style, weight, colour));
    QCOMPARE(offered, QColor(Qt::red));
    QCOMPARE(colour, QColor(0, 128, 128));
    QCOMPARE(style, 2);
}

void AxisDialogsTest::dataSetRowsFollowTheSets() {
    frmDataSet dialog;
    QList<DataSet> sets(3);
    for (int i = 0; i < 3; ++i)
        sets[i].name = QStringLiteral("Set %1").arg(i);
    whenModal<frmDataSet>([](frmDataSet* d) {
        QCOMPARE(child<QCheckBox>(d, "chkData2")->text(), QStringLiteral("Set 2"));
        child<QCheckBox>(d, "chkData1")->setChecked(false);
        whenModal<frmEditDataSet>([](frmEditDataSet* edit) {
            child<QRadioButton>(edit, "optWeight4")->click();
            press(edit, "cmdOK");
        });
        QTest::keyClick(child<LineSample>(d, "pbxSample2"), Qt::Key_Return);
        QCOMPARE(child<LineSample>(d, "pbxSample2")->weight(), 4);
        press(d, "cmdOK");
    });
    QVERIFY(dialog.edit(sets));
    QCOMPARE(sets[0].shown, true);
    QCOMPARE(sets[1].shown, false);
    QCOMPARE(sets[2].weight, 4);
    // The rows go with the dialog's use.
    QVERIFY(!dialog.findChild<QCheckBox*>("chkData0"));
}

QTEST_MAIN(AxisDialogsTest)
#include "test_axis_dialogs.moc"
