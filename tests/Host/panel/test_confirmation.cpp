// The options dialog: captions, loading the stored options (the comms notice
// always off at start), OK storing "True"/"False", Cancel storing nothing.
#include "Confirmation.h"
#include "Notices.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

namespace {

QSettings Store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "OrvType1", "OrvType1");
}

// The stored text exactly as it stands in the settings file.
QString StoredLine(const QString& key) {
    QSettings store = Store();
    QFile file(store.fileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    bool inSection = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('['))
            inSection = line == "[Confirm]";
        else if (inSection && line.startsWith(key + '='))
            return line;
    }
    return {};
}

void ClearStore() {
    QSettings store = Store();
    store.clear();
    store.sync();
}

} // namespace

class TestConfirmation : public QObject {
    Q_OBJECT

private slots:
    void init() { ClearStore(); }

    void captions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("CancelCheck") << "CancelCheck"
                                     << "Cancelling after a change is made.";
        QTest::newRow("UnlinkCheck") << "UnlinkCheck"
                                     << "Unlinking from the logger.";
        QTest::newRow("LinkedCheck") << "LinkedCheck"
                                     << "Command only valid when linked.";
        QTest::newRow("CommsCheck") << "CommsCheck"
                                    << "Problems occur in the comms.";
        QTest::newRow("ConfirmationCancelButton") << "ConfirmationCancelButton"
                                                  << "Cancel";
        QTest::newRow("ConfirmationOKButton") << "ConfirmationOKButton"
                                              << "OK";
    }
    void captions() {
        QFETCH(QString, name);
        Confirmation dialog;
        QCOMPARE(dialog.objectName(), QString("Confirmation"));
        auto* button = dialog.findChild<QAbstractButton*>(name);
        QVERIFY(button);
        QTEST(button->text(), "caption");
    }

    // The first two boxes stand in one frame, the last two in the other.
    void frames() {
        Confirmation dialog;
        QCOMPARE(dialog.fraConfirm->title(), QString("Prompt For Confirmation On -"));
        QCOMPARE(dialog.fraNotice->title(), QString("Display Notice When - "));
        QCOMPARE(dialog.CancelCheck->parent(), dialog.fraConfirm);
        QCOMPARE(dialog.UnlinkCheck->parent(), dialog.fraConfirm);
        QCOMPARE(dialog.LinkedCheck->parent(), dialog.fraNotice);
        QCOMPARE(dialog.CommsCheck->parent(), dialog.fraNotice);
    }

    void loading_data() {
        QTest::addColumn<QString>("stored"); // Cancel,Unlink,Notify,Comms; "-" = missing
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("unlink");
        QTest::addColumn<bool>("notify");
        QTest::newRow("nothing stored") << "-,-,-,-" << true << true << true;
        QTest::newRow("all False") << "False,False,False,False" << false << false << false;
        QTest::newRow("all True, comms too") << "True,True,True,True" << true << true << true;
        QTest::newRow("mixed") << "False,True,False,True" << false << true << false;
        QTest::newRow("any letter case") << "false,TRUE,fAlSe,-" << false << true << false;
        QTest::newRow("unreadable takes the default") << "maybe,0,,yes" << true << true << true;
    }
    void loading() {
        QFETCH(QString, stored);
        const QStringList values = stored.split(',');
        const QStringList keys = {"Cancel", "Unlink", "Notify", "Comms"};
        {
            QSettings store = Store();
            for (int i = 0; i < keys.size(); ++i) {
                if (values[i] != "-")
                    store.setValue("Confirm/" + keys[i], values[i]);
            }
        }
        SetCommsNoticeEnabled(true); // as left by an earlier run of the dialog
        Confirmation dialog;
        QTEST(dialog.confirmCancel(), "cancel");
        QTEST(dialog.confirmUnlink(), "unlink");
        QTEST(dialog.notifyNotLinked(), "notify");
        QVERIFY(!dialog.notifyComms());
        QVERIFY(!CommsNoticeEnabled());
        QTEST(dialog.CancelCheck->isChecked(), "cancel");
        QTEST(dialog.UnlinkCheck->isChecked(), "unlink");
        QTEST(dialog.LinkedCheck->isChecked(), "notify");
        QVERIFY(!dialog.CommsCheck->isChecked());
    }

    void okStoresEveryOption_data() {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("unlink");
        QTest::addColumn<bool>("notify");
        QTest::addColumn<bool>("comms");
        QTest::newRow("all off") << false << false << false << false;
        QTest::newRow("all on") << true << true << true << true;
        QTest::newRow("alternate") << true << false << true << false;
        QTest::newRow("comms only") << false << false << false << true;
    }
    void okStoresEveryOption() {
        QFETCH(bool, cancel);
        QFETCH(bool, unlink);
        QFETCH(bool, notify);
        QFETCH(bool, comms);
        Confirmation dialog;
        dialog.show();
        dialog.CancelCheck->setChecked(cancel);
        dialog.UnlinkCheck->setChecked(unlink);
        dialog.LinkedCheck->setChecked(notify);
        dialog.CommsCheck->setChecked(comms);
        QTest::mouseClick(dialog.ConfirmationOKButton, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.confirmCancel(), cancel);
        QCOMPARE(dialog.confirmUnlink(), unlink);
        QCOMPARE(dialog.notifyNotLinked(), notify);
        QCOMPARE(dialog.notifyComms(), comms);
        QCOMPARE(CommsNoticeEnabled(), comms);
        const auto text = [](bool on) { return QString(on ? "True" : "False"); };
        QCOMPARE(StoredLine("Cancel"), "Cancel=" + text(cancel));
        QCOMPARE(StoredLine("Unlink"), "Unlink=" + text(unlink));
        QCOMPARE(StoredLine("Notify"), "Notify=" + text(notify));
        QCOMPARE(StoredLine("Comms"), "Comms=" + text(comms));
        SetCommsNoticeEnabled(false);
    }

    // The comms notice lasts until the program ends; at the next start it is
    // off again although "Comms" is stored as "True".
    void commsNoticeOffAtNextStart() {
        {
            Confirmation thisRun;
            thisRun.show();
            thisRun.CommsCheck->setChecked(true);
            thisRun.ConfirmationOKButton->click();
            QVERIFY(CommsNoticeEnabled());
        }
        QCOMPARE(StoredLine("Comms"), QString("Comms=True"));
        Confirmation nextRun;
        QVERIFY(!nextRun.notifyComms());
        QVERIFY(!nextRun.CommsCheck->isChecked());
        QVERIFY(!CommsNoticeEnabled());
    }

    // Cancel, Escape and the close box store nothing, and the next showing
    // starts from the options again.
    void cancelStoresNothing_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void cancelStoresNothing() {
        QFETCH(int, way);
        {
            QSettings store = Store();
            store.setValue("Confirm/Cancel", "False");
            store.setValue("Confirm/Unlink", "True");
        }
        Confirmation dialog;
        dialog.show();
        dialog.CancelCheck->setChecked(true);
        dialog.UnlinkCheck->setChecked(false);
        dialog.CommsCheck->setChecked(true);
        if (way == 0)
            dialog.ConfirmationCancelButton->click();
        else if (way == 1)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(StoredLine("Cancel"), QString("Cancel=False"));
        QCOMPARE(StoredLine("Unlink"), QString("Unlink=True"));
        QCOMPARE(StoredLine("Comms"), QString());
        QVERIFY(!dialog.confirmCancel());
        QVERIFY(dialog.confirmUnlink());
        QVERIFY(!CommsNoticeEnabled());

        dialog.show();
        QVERIFY(!dialog.CancelCheck->isChecked());
        QVERIFY(dialog.UnlinkCheck->isChecked());
        QVERIFY(!dialog.CommsCheck->isChecked());
    }

    void oneDialogForTheRun() {
        Confirmation& first = ConfirmationDialog();
        QCOMPARE(&ConfirmationDialog(), &first);
        QCOMPARE(first.objectName(), QString("Confirmation"));
    }
};

QTEST_MAIN(TestConfirmation)
#include "test_confirmation.moc"
