// What every activity window does the same way, checked over all of them as
// the program creates them: Escape and the close box act as the window's
// Cancel only while it can be pressed, and a window's requests go with it.
#include "ActivityWindow.h"
#include "ActivityWindows.h"
#include "PanelFixture.h"
#include "RequestCodes.h"

#include <QPushButton>

class TestActivityWindows : public QObject {
    Q_OBJECT

    static QList<ActivityWindow*> Windows(frmMain& panel) {
        return panel.findChildren<ActivityWindow*>(Qt::FindDirectChildrenOnly);
    }

private slots:
    // The requests of the windows' own operations, which must not outlive them.
    void requestsGoWithTheirWindows() {
        const QList<qint16> owned = {Request::ShowDownload,   Request::SetClock,
                                     Request::Calibrate,      Request::LoggingInit,
                                     Request::ShowDetails,    Request::OpenParameters,
                                     Request::GetPreReference};
        {
            PanelFixture fixture;
            QVERIFY(fixture.start());
            CreateActivityWindows(*fixture.panel);
            QVERIFY(Windows(*fixture.panel).size() >= 8);
            for (qint16 code : owned)
                QVERIFY2(RequestIsRegistered(code), qPrintable(QString::number(code)));
        }
        for (qint16 code : owned)
            QVERIFY2(!RequestIsRegistered(code), qPrintable(QString::number(code)));
    }

    // Escape presses a window's Cancel (or Close) only while it is enabled:
    // a window busy with the logger is not closed under it.
    void escapeIsCancelOnlyWhileItCanBePressed() {
        PanelFixture fixture;
        QVERIFY(fixture.start());
        CreateActivityWindows(*fixture.panel);
        int checked = 0;
        for (ActivityWindow* window : Windows(*fixture.panel)) {
            auto* cancel = window->findChild<QPushButton*>(
                window->objectName() == "DownloadForm" ? "CloseButton" : "cmdCancel");
            if (!cancel)
                cancel = window->findChild<QPushButton*>("CancelButton");
            if (!cancel)
                continue;
            int presses = 0;
            // Only the count: the window's own handler is kept from running.
            cancel->disconnect();
            connect(cancel, &QPushButton::clicked, this, [&presses] { ++presses; });
            cancel->setEnabled(false);
            window->reject();
            QCOMPARE(presses, 0);
            cancel->setEnabled(true);
            window->reject();
            QCOMPARE(presses, 1);
            ++checked;
        }
        QVERIFY(checked >= 6);
    }
};

QTEST_MAIN(TestActivityWindows)
#include "test_activity_windows.moc"
