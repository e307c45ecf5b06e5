// The message window: result codes of every style and answer, the button
// placement, centring, line breaks, the status poll it runs while shown, and
// that it never nests; do_cancel/do_unlink; the protocol layer's notices.
#include "Confirmation.h"
#include "Framing.h"
#include "MessageAnswerer.h"
#include "ModalAnswerer.h"
#include "Notices.h"
#include "PanelNotices.h"
#include "RequestQueue.h"
#include "Twips.h"

#include <QCheckBox>
#include <QScreen>
#include <QTest>

using Answer = MessageAnswerer::Answer;
Q_DECLARE_METATYPE(MessageAnswerer::Answer)

namespace {
constexpr auto Maker = "Orvane Instruments";
}

class TestMessage : public QObject {
    Q_OBJECT

    QWidget mainWindow;
    QTimer statusTimer;
    int polls = 0;
    std::function<void()> pollAction;

private slots:
    void initTestCase() {
        mainWindow.setGeometry(200, 150, 400, 300);
        mainWindow.show();
        statusTimer.setInterval(40);
        SetMessageWindowContext(&mainWindow, &statusTimer, [this] {
            ++polls;
            if (pollAction)
                pollAction();
        });
    }

    void init() {
        polls = 0;
        pollAction = nullptr;
        statusTimer.stop();
        mainWindow.setGeometry(200, 150, 400, 300);
    }

    // Every style with every way of answering it.
    void resultCodes_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("confirmShown");
        QTest::addColumn<QString>("confirmCaption");
        QTest::addColumn<QString>("cancelCaption");
        QTest::newRow("0 OK") << 0 << Answer::Cancel << 1 << false << ""
                              << "&OK";
        QTest::newRow("0 Escape") << 0 << Answer::Escape << 1 << false << ""
                                  << "&OK";
        QTest::newRow("0 close box") << 0 << Answer::CloseBox << 1 << false << ""
                                     << "&OK";
        QTest::newRow("1 OK") << 1 << Answer::Confirm << 1 << true << "&OK"
                              << "&Cancel";
        QTest::newRow("1 Cancel") << 1 << Answer::Cancel << 2 << true << "&OK"
                                  << "&Cancel";
        QTest::newRow("1 Escape") << 1 << Answer::Escape << 2 << true << "&OK"
                                  << "&Cancel";
        QTest::newRow("1 close box") << 1 << Answer::CloseBox << 2 << true << "&OK"
                                     << "&Cancel";
        QTest::newRow("4 Yes") << 4 << Answer::Confirm << 6 << true << "&Yes"
                               << "&No";
        QTest::newRow("4 No") << 4 << Answer::Cancel << 7 << true << "&Yes"
                              << "&No";
        QTest::newRow("4 Escape") << 4 << Answer::Escape << 7 << true << "&Yes"
                                  << "&No";
        QTest::newRow("4 close box") << 4 << Answer::CloseBox << 7 << true << "&Yes"
                                     << "&No";
    }
    void resultCodes() {
        QFETCH(int, style);
        QFETCH(Answer, answer);
        QFETCH(int, result);
        QFETCH(bool, confirmShown);
        MessageAnswerer operatorAnswers({answer});
        QCOMPARE(ShowMessage("Are you sure?", qint16(style), "Please confirm action..."),
                 qint16(result));
        QCOMPARE(operatorAnswers.seen.size(), 1);
        const MessageAnswerer::Seen& seen = operatorAnswers.seen.first();
        QCOMPARE(seen.title, QString("Please confirm action..."));
        QCOMPARE(seen.text, QString("Are you sure?"));
        QCOMPARE(seen.confirmShown, confirmShown);
        if (confirmShown)
            QTEST(seen.confirmCaption, "confirmCaption");
        QTEST(seen.cancelCaption, "cancelCaption");
    }

    // The window is only hidden, and an unknown style keeps the last buttons.
    void unknownStyleKeepsPreviousButtons() {
        MessageAnswerer operatorAnswers({Answer::CloseBox, Answer::Confirm, Answer::Cancel});
        QCOMPARE(ShowMessage("First", 4, Maker), qint16(7));
        auto* window = mainWindow.findChild<frmMessage*>("frmMessage");
        QVERIFY(window);
        QVERIFY(!window->isVisible());
        QCOMPARE(ShowMessage("Second", 3, Maker), qint16(0));
        QCOMPARE(ShowMessage("Third", -1, Maker), qint16(0));
        QCOMPARE(mainWindow.findChild<frmMessage*>("frmMessage"), window);
        QCOMPARE(operatorAnswers.seen.size(), 3);
        for (const MessageAnswerer::Seen& seen : operatorAnswers.seen.mid(1)) {
            QVERIFY(seen.confirmShown);
            QCOMPARE(seen.confirmCaption, QString("&Yes"));
            QCOMPARE(seen.cancelCaption, QString("&No"));
        }
    }

    void carriageReturnsBreakLines() {
        MessageAnswerer operatorAnswers({Answer::Cancel});
        ShowMessage("There is a conflict\rbetween the days.\r\rSet the clock.", 0,
                    "Routine verification...");
        QCOMPARE(operatorAnswers.seen.size(), 1);
        QCOMPARE(operatorAnswers.seen[0].text,
                 QString("There is a conflict\nbetween the days.\n\nSet the clock."));
        const int lineHeight = mainWindow.fontMetrics().height();
        QVERIFY(operatorAnswers.seen[0].label.height() >= 4 * lineHeight - 4);
    }

    // Buttons 120 twips above the bottom; the pair 60 twips either side of
    // the centre line, the single button centred; the label between equal margins.
    void buttonPlacement_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("text");
        QTest::newRow("0 short") << 0 << "Done.";
        QTest::newRow("1 short") << 1 << "Go?";
        QTest::newRow("4 short") << 4 << "Yes or no?";
        QTest::newRow("4 long")
            << 4
            << "The power down feature of this logger has been disabled.\r\rThis can "
               "substantially reduce battery life.";
        QTest::newRow("0 wider than the screen")
            << 0 << QString("The logger reported a level outside its range. ").repeated(6);
    }
    void buttonPlacement() {
        QFETCH(int, style);
        QFETCH(QString, text);
        MessageAnswerer operatorAnswers({Answer::Cancel});
        QRect client;
        operatorAnswers.whileShown = [&client](frmMessage* window) { client = window->rect(); };
        ShowMessage(text, qint16(style), Maker);
        QCOMPARE(operatorAnswers.seen.size(), 1);
        const MessageAnswerer::Seen& seen = operatorAnswers.seen[0];
        const int bottomGap = Twips::toPixels(120);
        const int centreGap = Twips::toPixels(60);
        const int centre = client.width() / 2;
        QCOMPARE(client.height() - (seen.cancel.y() + seen.cancel.height()), bottomGap);
        if (style == 0) {
            QVERIFY(qAbs(seen.cancel.center().x() - centre) <= 1);
        } else {
            QCOMPARE(seen.confirm.x() + seen.confirm.width(), centre - centreGap);
            QCOMPARE(seen.cancel.x(), centre + centreGap);
            QCOMPARE(seen.confirm.bottom(), seen.cancel.bottom());
        }
        QVERIFY(seen.cancel.top() > seen.label.bottom());
        const int leftMargin = seen.label.left();
        const int rightMargin = client.width() - (seen.label.x() + seen.label.width());
        QVERIFY(qAbs(leftMargin - rightMargin) <= 1);
        QVERIFY(leftMargin > 0);
        // The whole text is shown: a line wider than the screen is wrapped.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QFontMetrics metrics = mainWindow.fontMetrics();
        for (const QString& line : seen.text.split('\n')) {
            if (metrics.horizontalAdvance(line) < screen.width() - 4 * Twips::toPixels(240))
                QVERIFY(seen.label.width() >= metrics.horizontalAdvance(line));
            else
                QVERIFY(seen.label.height() >= 2 * metrics.height());
        }
        QVERIFY(screen.contains(seen.frame));
    }

    // 1440 twips to the inch at the screen's logical dpi: 15 a pixel at 96 dpi.
    void twips_data() {
        QTest::addColumn<int>("twips");
        QTest::newRow("none") << 0;
        QTest::newRow("a gap") << 120;
        QTest::newRow("a button") << 1215;
        QTest::newRow("an inch") << 1440;
        QTest::newRow("negative") << -600;
    }
    void twips() {
        QFETCH(int, twips);
        const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
        QCOMPARE(Twips::toPixels(twips), int(std::lround(twips * dpi / 1440)));
        QCOMPARE(Twips::toPixels(twips, &mainWindow), Twips::toPixels(twips));
        QVERIFY(qAbs(Twips::fromPixels(Twips::toPixels(twips)) - twips) <= 1440 / dpi);
    }

    void centredOverMainWindow() {
        MessageAnswerer operatorAnswers({Answer::Cancel});
        ShowMessage("Centred?", 0, Maker);
        QCOMPARE(operatorAnswers.seen.size(), 1);
        const QPoint offset =
            operatorAnswers.seen[0].frame.center() - mainWindow.frameGeometry().center();
        QVERIFY2(qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2,
                 qPrintable(QString("%1,%2").arg(offset.x()).arg(offset.y())));
    }

    void keptOnScreen_data() {
        QTest::addColumn<QPoint>("mainWindowAt");
        QTest::newRow("off the bottom right") << QPoint(10000, 10000);
        QTest::newRow("off the top left") << QPoint(-10000, -10000);
    }
    void keptOnScreen() {
        QFETCH(QPoint, mainWindowAt);
        mainWindow.move(mainWindowAt);
        MessageAnswerer operatorAnswers({Answer::Cancel});
        ShowMessage("Still on the screen?", 4, Maker);
        QCOMPARE(operatorAnswers.seen.size(), 1);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(operatorAnswers.seen[0].frame));
    }

    // While the window is up its timer runs the main window's poll at the
    // status timer's interval; hidden, it stops.
    void pollsWhileShown() {
        statusTimer.start(40);
        MessageAnswerer operatorAnswers({Answer::Cancel}, 500);
        int interval = -1;
        operatorAnswers.whileShown = [&interval](frmMessage* window) {
            interval = window->tmrMessage().isActive() ? window->tmrMessage().interval() : 0;
        };
        ShowMessage("Reading the level.", 0, Maker);
        QCOMPARE(interval, 40);
        QVERIFY2(polls >= 5, qPrintable(QString::number(polls)));
        const int afterClose = polls;
        QTest::qWait(200);
        QCOMPARE(polls, afterClose);
        auto* window = mainWindow.findChild<frmMessage*>("frmMessage");
        QVERIFY(!window->tmrMessage().isActive());
    }

    void noPollWhileStatusTimerOff() {
        MessageAnswerer operatorAnswers({Answer::Confirm}, 300);
        QCOMPARE(ShowMessage("Are you sure you want to unlink from the logger?", 4, Maker),
                 qint16(6));
        QCOMPARE(polls, 0);
    }

    // The poll would talk to the logger inside another exchange.
    void noPollInsideAnExchange() {
        statusTimer.start(20);
        MessageAnswerer operatorAnswers({Answer::Cancel}, 300);
        {
            ExchangeScope exchange;
            ShowMessage("Inside an exchange.", 0, Maker);
        }
        QCOMPARE(polls, 0);
    }

    // A request asking the operator has nothing on the wire: the status goes on.
    void pollsBehindARequestsQuestion() {
        statusTimer.start(20);
        MessageAnswerer operatorAnswers({Answer::Cancel}, 300);
        bool ran = false;
        RegisterRequest(28, [&ran](qint16) {
            QVERIFY(QueueRunInProgress());
            ShowMessage("Shown by a request.", 0, Maker);
            ran = true;
        });
        PostRequest(28);
        QVERIFY(ran);
        QCOMPARE(operatorAnswers.seen.size(), 1);
        QVERIFY(polls > 0);
        RegisterRequest(28, nullptr);
    }

    // A logger that stops answering fails every poll; with the comms notice on,
    // each failure would open the window again inside itself.
    void failingPollNeverNests() {
        InstallPanelNotices();
        SetCommsNoticeEnabled(true);
        statusTimer.start(20);
        QList<qint16> nestedResults;
        pollAction = [] { ReportCommsFailure("Get Update"); };
        MessageAnswerer operatorAnswers({Answer::Cancel}, 400);
        QCOMPARE(ShowMessage("The logger is slow.", 0, Maker), qint16(1));
        QVERIFY2(polls >= 5, qPrintable(QString::number(polls)));
        QCOMPARE(operatorAnswers.seen.size(), 1);
        QCOMPARE(operatorAnswers.seen[0].text, QString("The logger is slow."));

        // Outside the window the same failure is shown as usual.
        statusTimer.stop();
        ReportCommsFailure("Get Update");
        QCOMPARE(operatorAnswers.seen.size(), 2);
        QCOMPARE(operatorAnswers.seen[1].title, QString("Fatal Communications Error"));
        QCOMPARE(operatorAnswers.seen[1].text, QString("Get Update failed."));
        QVERIFY(!operatorAnswers.seen[1].confirmShown);
        SetCommsNoticeEnabled(false);
        SetNoticeHandler(nullptr);
    }

    // do_cancel and do_unlink ask only when the operator's option says so.
    void promptsFollowTheOptions_data() {
        QTest::addColumn<bool>("unlink");
        QTest::addColumn<bool>("optionOn");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("asked");
        QTest::newRow("cancel, on, Yes") << false << true << Answer::Confirm << true << 1;
        QTest::newRow("cancel, on, No") << false << true << Answer::Cancel << false << 1;
        QTest::newRow("cancel, on, close box") << false << true << Answer::CloseBox << false << 1;
        QTest::newRow("cancel, off") << false << false << Answer::Cancel << true << 0;
        QTest::newRow("unlink, on, Yes") << true << true << Answer::Confirm << true << 1;
        QTest::newRow("unlink, on, No") << true << true << Answer::Cancel << false << 1;
        QTest::newRow("unlink, off") << true << false << Answer::Cancel << true << 0;
    }
    void promptsFollowTheOptions() {
        QFETCH(bool, unlink);
        QFETCH(bool, optionOn);
        QFETCH(Answer, answer);
        Confirmation& options = ConfirmationDialog();
        options.show();
        (unlink ? options.UnlinkCheck : options.CancelCheck)->setChecked(optionOn);
        options.ConfirmationOKButton->click();

        MessageAnswerer operatorAnswers({answer});
        const QString text = unlink ? "Are you sure you want to unlink from the logger?"
                                    : "Are you sure you want to cancel linking via modem?";
        const bool result = unlink ? do_unlink(text, Maker) : do_cancel(text, Maker);
        QTEST(result, "result");
        QTEST(int(operatorAnswers.seen.size()), "asked");
        if (!operatorAnswers.seen.isEmpty()) {
            QCOMPARE(operatorAnswers.seen[0].text, text);
            QCOMPARE(operatorAnswers.seen[0].confirmCaption, QString("&Yes"));
        }
        options.show();
        (unlink ? options.UnlinkCheck : options.CancelCheck)->setChecked(true);
        options.ConfirmationOKButton->click();
    }

    // The protocol layer's notices, each shown the way it asks for.
    void messageWindowNotice() {
        InstallPanelNotices();
        MessageAnswerer operatorAnswers({Answer::Cancel});
        QCOMPARE(ShowNotice({"Fatal Communications Error", "Set date/time failed.",
                             NoticeButtons::Ok, NoticeIcon::None, true}),
                 NoticeAnswer::Ok);
        QCOMPARE(operatorAnswers.seen.size(), 1);
        QCOMPARE(operatorAnswers.seen[0].title, QString("Fatal Communications Error"));
        QCOMPARE(operatorAnswers.seen[0].text, QString("Set date/time failed."));
        SetNoticeHandler(nullptr);
    }

    void questionNotices_data() {
        QTest::addColumn<bool>("messageWindow");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<int>("answer");
        QTest::newRow("box, Retry") << false << int(QMessageBox::Retry) << int(NoticeAnswer::Retry);
        QTest::newRow("box, Cancel")
            << false << int(QMessageBox::Cancel) << int(NoticeAnswer::Cancel);
        QTest::newRow("message window asked, Retry")
            << true << int(QMessageBox::Retry) << int(NoticeAnswer::Retry);
        QTest::newRow("message window asked, Escape")
            << true << int(QMessageBox::Escape) << int(NoticeAnswer::Cancel);
    }
    void questionNotices() {
        QFETCH(bool, messageWindow);
        QFETCH(int, pressed);
        InstallPanelNotices();
        MessageAnswerer messageWindowAnswers({Answer::Confirm});
        ModalAnswerer boxAnswers{QMessageBox::StandardButton(pressed)};
        const NoticeAnswer answer =
            ShowNotice({"Orvane Instruments", "The logger is not responding.\rTry again?",
                        NoticeButtons::RetryCancel, NoticeIcon::None, messageWindow});
        QTEST(int(answer), "answer");
        QCOMPARE(messageWindowAnswers.seen.size(), 0);
        QCOMPARE(boxAnswers.count(), 1);
        QCOMPARE(boxAnswers.lastTitle(), QString("Orvane Instruments"));
        QCOMPARE(boxAnswers.lastText(), QString("The logger is not responding.\nTry again?"));
        QCOMPARE(boxAnswers.lastIcon(), QMessageBox::Warning);
        SetNoticeHandler(nullptr);
    }

    void plainNoticeKeepsItsIcon() {
        InstallPanelNotices();
        ModalAnswerer boxAnswers(QMessageBox::Ok);
        QCOMPARE(ShowNotice({"Error", "The communications library could not be loaded.\r<b>x</b>",
                             NoticeButtons::Ok, NoticeIcon::Critical}),
                 NoticeAnswer::Ok);
        QCOMPARE(boxAnswers.count(), 1);
        QCOMPARE(boxAnswers.lastIcon(), QMessageBox::Critical);
        QCOMPARE(boxAnswers.lastText(),
                 QString("The communications library could not be loaded.\n<b>x</b>"));
        SetNoticeHandler(nullptr);
    }
};

QTEST_MAIN(TestMessage)
#include "test_message.moc"
