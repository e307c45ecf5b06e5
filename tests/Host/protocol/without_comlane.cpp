// A program whose communications library is missing: built into a folder of
// its own, where no Comlane plugin lies beside it.
#include "Framing.h"
#include "Link.h"
#include "LinkedLogger.h"

class TestWithoutComlane : public QObject {
    Q_OBJECT

private slots:
    // Said at every attempt to link, not only the first time.
    void everyLinkSaysTheLibraryIsMissing() {
        NoticeRecorder recorder;
        QVERIFY(!CommsLink());
        QVERIFY(!OpenLink(1, 19200, 1));
        QVERIFY(!OpenLink(1, 19200, 1));
        QCOMPARE(recorder.notices.size(), 2);
        for (const Notice& notice : std::as_const(recorder.notices)) {
            QCOMPARE(notice.title, QString("Error"));
            QVERIFY(notice.text.startsWith(
                "The communications library Comlane could not be loaded.\r"));
        }
        QVERIFY(!Session().PortOpenFlag); // no port opened: nothing else to say
    }
};

QTEST_MAIN(TestWithoutComlane)
#include "without_comlane.moc"
