// The parameter editor driven as an operator would: keys into its fields,
// clicks on its lists and buttons, and what it keeps in the settings store.
#include "ActivityWindows.h"
#include "Controls.h"
#include "MaskedEdit.h"
#include "PanelFixture.h"
#include "PresetDialogs.h"
#include "frmSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

class TestSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<PanelFixture> m_fixture;
    frmSettings* m_editor = nullptr;

    void open() {
        m_fixture->item("ParametersItem")->trigger();
        QVERIFY(m_editor->isVisible());
        QApplication::setActiveWindow(m_editor);
        QVERIFY(QTest::qWaitForWindowActive(m_editor));
    }
    // Types into a field and leaves it with Tab, as an operator does.
    void type(MaskedEdit* field, const QString& text) {
        QApplication::setActiveWindow(m_editor); // back from any message
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }
    QString stored(const QString& key) const { return PanelFixture::store().value(key).toString(); }

private slots:
    void init() {
        m_fixture = std::make_unique<PanelFixture>();
        QVERIFY(m_fixture->start());
        CreateActivityWindows(*m_fixture->panel);
        m_editor = m_fixture->panel->findChild<frmSettings*>();
        QVERIFY(m_editor);
    }
    void cleanup() {
        m_fixture.reset();
        m_editor = nullptr;
        QSettings store = PanelFixture::store();
        store.clear();
    }

    void firstRunShowsTheDefaultPresets() {
        open();
        QCOMPARE(Control<QComboBox>(m_editor, "cboTitle")->count(), 4);
        QCOMPARE(Control<QComboBox>(m_editor, "cboTitle")->itemText(0),
                 QStringLiteral("1: Default Setting"));
        QCOMPARE(Control<QComboBox>(m_editor, "cboTitle")->currentIndex(), 0);
        QCOMPARE(Control<QComboBox>(m_editor, "cboInterval")->currentText(),
                 QStringLiteral("15 minutes"));
        QVERIFY(
            !Control<QRadioButton>(m_editor, "optStart1")->isEnabled()); // nothing works on trigger
    }

    // Any change makes the set the operator's own; OK keeps it so.
    void changedSetIsKeptAsCustom() {
        open();
        Control<QComboBox>(m_editor, "cboAuxiliary")->setCurrentIndex(2);
        QCOMPARE(Control<QComboBox>(m_editor, "cboTitle")->currentIndex(), -1);
        QVERIFY(Control<QRadioButton>(m_editor, "optStart1")->isEnabled());
        Control<QRadioButton>(m_editor, "optStart2")->click();
        Control<QCheckBox>(m_editor, "chkPolarity")->click();
        QCOMPARE(Control<QRadioButton>(m_editor, "optStart1")->text(),
                 QStringLiteral("The SPL stays under"));
        Control<QPushButton>(m_editor, "cmdOK")->click();
        QVERIFY(!m_editor->isVisible());
        QCOMPARE(stored("Settings/Index"), QStringLiteral("-1"));
        QCOMPARE(stored("SettingCurrent/iTriggerStart"), QStringLiteral("4"));
        QCOMPARE(stored("SettingCurrent/iTriggerStop"), QStringLiteral("1"));
        QCOMPARE(stored("SettingCurrent/Auxiliary"), QStringLiteral("2"));
    }

    void typedNumbersAreCorrectedOnLeaving() {
        open();
        Control<QComboBox>(m_editor, "cboLeqOption")->setCurrentIndex(2);
        MessageAnswerer answerer;
        type(Control<MaskedEdit>(m_editor, "mskSplStart"), "45");
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen[0].title, QStringLiteral("Invalid Number Read"));
        QCOMPARE(answerer.seen[0].text,
                 QStringLiteral("The number read was too large.\nA value of 30 is being assumed."));
        QCOMPARE(Control<MaskedEdit>(m_editor, "mskSplStart")->Text(), QStringLiteral("30"));
        QVERIFY(Control<QRadioButton>(m_editor, "optStart1")->isChecked());
        ModalAnswerer boxes;
        type(Control<MaskedEdit>(m_editor, "mskTimeDelay"), "20");
        QCOMPARE(boxes.lastTitle(), QStringLiteral("Remote Switch time selection"));
        QCOMPARE(boxes.lastText(), QStringLiteral("The value was supposed <= than 15 minutes."));
        QCOMPARE(Control<MaskedEdit>(m_editor, "mskTimeDelay")->Text(), QStringLiteral("15"));
        QVERIFY(Control<QRadioButton>(m_editor, "optStop2")->isChecked());
    }

    void percentilesAreSortedAndEmptyFieldsCorrected() {
        open();
        const int values[] = {90, 10, 50, 50, 1, 99, 25, 75};
        for (int i = 0; i < 8; ++i)
            Control<MaskedEdit>(m_editor, QString("mskLn%1").arg(i))
                ->setText(QString::number(values[i]));
        Control<MaskedEdit>(m_editor, "mskSplStop")->setText(""); // emptied and never left
        const ParameterSet set = m_editor->ReadControls();
        QCOMPARE(set.LIndices, QByteArray("\x01\x0a\x19\x32\x32\x4b\x5a\x63", 8));
        QCOMPARE(set.SplStopTime, qint16(1));
    }

    void unlistedStoredValuesShowTheFallbacks() {
        QSettings store = PanelFixture::store();
        store.setValue("Settings0/Interval", 7);
        store.setValue("Settings0/Auxiliary", 5);
        store.sync();
        m_fixture->panel.reset();
        init();
        open();
        QCOMPARE(Control<QComboBox>(m_editor, "cboInterval")->currentText(),
                 QStringLiteral("5 minutes"));
        QCOMPARE(Control<QComboBox>(m_editor, "cboAuxiliary")->currentIndex(), 0);
        Control<QPushButton>(m_editor, "cmdOK")->click();
        QCOMPARE(stored("SettingCurrent/Interval"), QStringLiteral("5"));
    }

    // Save... asks for the slot and the name, then always confirms.
    void savingReplacesAPresetAfterTheQuestion() {
        open();
        Control<QComboBox>(m_editor, "cboInterval")->setCurrentIndex(0);
        auto* save = m_editor->saveForm;
        Control<QPushButton>(m_editor, "cmdSave")->click();
        QTRY_VERIFY(save->isVisible());
        Control<QComboBox>(save, "SlotCombo")->setCurrentIndex(1);
        QVERIFY(!Control<QPushButton>(save, "OKButton")->isEnabled());
        QTest::keyClicks(Control<QLineEdit>(save, "NameText"), "Night");
        QTimer::singleShot(50, save->confirmation, [save] {
            QCOMPARE(Control<QLabel>(save->confirmation, "OldNumberLabel")->text(),
                     QStringLiteral("Preset 2 :"));
            QCOMPARE(Control<QLabel>(save->confirmation, "OldNameLabel")->text(),
                     QStringLiteral("Default Setting"));
            Control<QPushButton>(save->confirmation, "OKButton")->click();
        });
        Control<QPushButton>(save, "OKButton")->click();
        QVERIFY(!save->isVisible());
        QCOMPARE(Control<QComboBox>(m_editor, "cboTitle")->itemText(1), QStringLiteral("2: Night"));
        QCOMPARE(Control<QComboBox>(m_editor, "cboTitle")->currentIndex(), 1);
        QCOMPARE(stored("Settings1/Title"), QStringLiteral("Night"));
        QCOMPARE(stored("Settings1/Interval"), QStringLiteral("1"));
        QCOMPARE(stored("Settings0/Title"), QStringLiteral("Default Setting"));
    }

    // Save... pressed while a request runs (a poll waiting on a modem line
    // lets the click through) opens its dialog after the run, not inside it,
    // so the run ends and the status polls go on.
    void saveDialogWaitsForTheRunningRequests() {
        open();
        auto* save = m_editor->saveForm;
        bool openedInsideRun = false;
        RegisterRequest(28, [&](qint16) {
            QTimer::singleShot(0, save, [&] {
                if (QueueRunInProgress() && save->isVisible()) {
                    openedInsideRun = true;
                    Control<QPushButton>(save, "CancelButton")->click();
                }
            });
            Control<QPushButton>(m_editor, "cmdSave")->click();
        });
        PostRequest(28);
        RegisterRequest(28, nullptr);
        QVERIFY(!openedInsideRun);
        QTRY_VERIFY(save->isVisible());
        Control<QPushButton>(save, "CancelButton")->click();
        QVERIFY(m_editor->isVisible());
    }

    void cancelAsksFirst() {
        open();
        MessageAnswerer answerer(
            {MessageAnswerer::Answer::Cancel, MessageAnswerer::Answer::Confirm});
        QTest::keyClick(m_editor, Qt::Key_Escape);
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen[0].title, QStringLiteral("Cancel parameter changes..."));
        QVERIFY(m_editor->isVisible());
        Control<QPushButton>(m_editor, "cmdCancel")->click();
        QVERIFY(!m_editor->isVisible());
        QVERIFY(stored("Settings/Index").isEmpty()); // nothing was kept
    }
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
