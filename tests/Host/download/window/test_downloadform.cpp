// The download window driven as an operator would, against the simulated
// logger: the buffer list, the file dialog, the transfer's ends and clearing.
#include "Controls.h"
#include "DownloadForm.h"
#include "FillPanel.h"
#include "Link.h"
#include "MessageAnswerer.h"
#include "PanelFixture.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

using Fault = LoggerSimulator::Fault;

namespace {

constexpr int SurveyBlocks = 612; // two hours of one-second Leq values

// Answers the save dialog each time it is up: picks the next path, or cancels
// for an empty one (and when the answers have run out).
class FileDialogAnswerer : public QObject {
public:
    explicit FileDialogAnswerer(QStringList paths) : m_paths(std::move(paths)) {
        connect(&m_timer, &QTimer::timeout, this, &FileDialogAnswerer::poll);
        m_timer.start(20);
    }
    int shown = 0;

private:
    void poll() {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        const bool up = dialog && dialog->isVisible();
        // The window keeps one dialog: each showing is a new question.
        if (!up || m_answered) {
            m_answered = up;
            return;
        }
        m_answered = true;
        const QString path = m_paths.value(shown++);
        if (path.isEmpty())
            return dialog->reject();
        // As an operator types a name into the folder the dialog shows.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(name);
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    }

    QStringList m_paths;
    QTimer m_timer;
    bool m_answered = false;
};

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestDownloadForm : public QObject {
    Q_OBJECT

    std::unique_ptr<PanelFixture> m_fixture;
    DownloadForm* m_form = nullptr;
    QTemporaryDir m_dir;

    // Links with `buffers` copies of a two-hour survey in the logger.
    bool linkWithBuffers(int buffers) {
        sim::DayOfDataOptions survey;
        survey.hours = 2;
        m_fixture->sim.model().fillMemory(survey);
        const std::string record = m_fixture->sim.model().bufferRecord(0);
        for (int i = 1; i < buffers; ++i)
            m_fixture->sim.model().addBuffer(record);
        return m_fixture->start() && linkPanel();
    }
    bool linkPanel() {
        m_form = new DownloadForm(m_fixture->panel.get());
        m_form->blockTimeOut = 500; // the simulator answers at once or never
        frmMain::Activities activities;
        activities.updateBuffers = [this] { m_form->update_buffers(); };
        m_fixture->panel->setActivities(activities);
        return m_fixture->link();
    }
    void openWindow() {
        m_fixture->button("DownloadButton")->click();
        QTRY_VERIFY(m_form->isVisible());
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void init() { m_fixture = std::make_unique<PanelFixture>(); }
    void cleanup() {
        m_fixture.reset(); // the panel owns the window
        m_form = nullptr;
    }

    void listsEveryBufferAndSelectsTheLast() {
        QVERIFY(linkWithBuffers(3));
        openWindow();
        QCOMPARE(Control<QComboBox>(m_form, "BufferCombo")->count(), 3);
        QCOMPARE(Control<QComboBox>(m_form, "BufferCombo")->itemText(0),
                 QStringLiteral("1: Day survey      "));
        QCOMPARE(Control<QComboBox>(m_form, "BufferCombo")->currentIndex(), 2);
        QVERIFY(Control<QPushButton>(m_form, "ClearBufferButton")->isEnabled());
        QCOMPARE(m_form->findChild<QLabel*>("lblTitleData")->text(),
                 QStringLiteral("Day survey      "));
        QTest::keyClick(Control<QComboBox>(m_form, "BufferCombo"), Qt::Key_Up);
        emit Control<QComboBox>(m_form, "BufferCombo")
            ->activated(Control<QComboBox>(m_form, "BufferCombo")->currentIndex());
        QCOMPARE(Control<QComboBox>(m_form, "BufferCombo")->currentIndex(), 1);
        QVERIFY(!Control<QPushButton>(m_form, "ClearBufferButton")
                     ->isEnabled()); // only the most recent buffer
    }

    void downloadsTheSelectedBufferIntoItsFiles() {
        QVERIFY(linkWithBuffers(1));
        openWindow();
        m_fixture->panel->SetPowerDown(false);
        m_fixture->sim.clearHostBytes();
        FileDialogAnswerer dialog({file("survey.csv")});
        Control<QPushButton>(m_form, "DownloadButton")->click();
        QVERIFY(Control<QFrame>(m_form, "FinalPanel")->isVisible());
        // Power-down is held off while the name is chosen, then set back as it was.
        QCOMPARE(QByteArray::fromStdString(m_fixture->sim.hostBytes()).count("\x01R"), 2);
        QVERIFY(m_fixture->sim.model().powerDownDisabled());
        QCOMPARE(Control<QLabel>(m_form, "Label1")->text(),
                 QStringLiteral("Data has been successfully downloaded."));
        QCOMPARE(Control<QLabel>(m_form, "RecordsDataLabel")->text(),
                 QString::number(SurveyBlocks));
        QCOMPARE(Control<QLabel>(m_form, "FilesCreatedDataLabel1")->text(),
                 QStringLiteral("survey_Sta.csv"));
        QCOMPARE(Control<QLabel>(m_form, "FilesCreatedDataLabel2")->text(),
                 QStringLiteral("survey_Leq0.csv"));
        QCOMPARE(Control<FillPanel>(m_form, "DonePanel")->fillPercent(), 100);
        QVERIFY(!Control<QPushButton>(m_form, "CloseButton")->isEnabled()); // until OK
        QCOMPARE(Contents(file("survey_Sta.csv")).count("\r\n"), 21 + 8);
        QVERIFY(QFileInfo::exists(file("survey.log")));
        QCOMPARE(GetCommsTimeOut(), 2000);
        QCOMPARE(PanelFixture::store().value("Download/Path").toString(), m_dir.path());
        Control<QPushButton>(m_form, "OKButton")->click();
        QVERIFY(Control<QFrame>(m_form, "pnlSummary")->isVisible());
        QVERIFY(Control<QPushButton>(m_form, "CloseButton")->isEnabled());
    }

    // Picking a file of an earlier download asks once for all its files; No
    // goes back to the dialog, and cancelling there returns to the list.
    void earlierFilesAreReplacedOnlyWhenConfirmed() {
        QVERIFY(linkWithBuffers(1));
        for (const char* name : {"old_Sta.csv", "old.log", "old_Leq0.csv", "old_Leq1.csv"}) {
            QFile old(file(name));
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("earlier");
        }
        openWindow();
        FileDialogAnswerer dialog({file("old_Sta.csv"), QString()});
        MessageAnswerer answerer({MessageAnswerer::Answer::Cancel});
        Control<QPushButton>(m_form, "DownloadButton")->click();
        QCOMPARE(answerer.seen.size(), 1);
        QVERIFY(answerer.seen[0].text.contains("old_Sta.csv\nold.log\nold_Leq0.csv\nold_Leq1.csv"));
        QCOMPARE(dialog.shown, 2);
        QCOMPARE(Contents(file("old_Sta.csv")), QByteArray("earlier"));
        QVERIFY(Control<QFrame>(m_form, "pnlSummary")->isVisible());
        QVERIFY(Control<QPushButton>(m_form, "DownloadButton")->isEnabled());
    }

    // A logger that stops answering: what came is in the files, the problem is
    // said, and the window is ready for another try.
    void interruptedDownloadKeepsWhatCame() {
        QVERIFY(linkWithBuffers(1));
        openWindow();
        FileDialogAnswerer dialog({file("cut.csv")});
        ModalAnswerer boxes;
        m_fixture->sim.setFault(Fault::StopMidTransfer, 100);
        Control<QPushButton>(m_form, "DownloadButton")->click();
        m_fixture->sim.setFault(Fault::None);
        QCOMPARE(boxes.lastTitle(), QStringLiteral("Download problem"));
        QCOMPARE(boxes.lastIcon(), QMessageBox::Warning);
        QVERIFY(!Control<QFrame>(m_form, "FinalPanel")->isVisible());
        QVERIFY(Control<QPushButton>(m_form, "DownloadButton")->isEnabled());
        QCOMPARE(GetCommsTimeOut(), 2000);
        QCOMPARE(Contents(file("cut_Leq0.csv")).count(",0\r\n") +
                     Contents(file("cut_Leq0.csv")).count(",20\r\n"),
                 97 * 12);
    }

    // Abort is seen at the event pass before block 30: 29 blocks are written.
    void abortStopsAtTheNextEventPass() {
        QVERIFY(linkWithBuffers(1));
        openWindow();
        FileDialogAnswerer dialog({file("aborted.csv")});
        // Pressed as soon as the transfer lets the operator in.
        QTimer press;
        connect(&press, &QTimer::timeout, m_form, [this] {
            if (Control<QFrame>(m_form, "ProgressPanel")->isVisible() &&
                Control<QPushButton>(m_form, "AbortButton")->isEnabled())
                Control<QPushButton>(m_form, "AbortButton")->click();
        });
        press.start(5);
        Control<QPushButton>(m_form, "DownloadButton")->click();
        QCOMPARE(Control<QLabel>(m_form, "Label1")->text(),
                 QStringLiteral("The download has been terminated"));
        QCOMPARE(Control<QLabel>(m_form, "RecordsDataLabel")->text(),
                 QStringLiteral("29 of %1").arg(SurveyBlocks));
    }

    // Closing the program mid-transfer asks first. Stopped, the transfer ends
    // at the next event pass as after Abort, with whole files and the usual
    // wait limit, and the program closes; kept, it downloads every block.
    void closingTheProgramAsksFirst_data() {
        QTest::addColumn<MessageAnswerer::Answer>("answer");
        QTest::addColumn<bool>("stopped");
        QTest::newRow("stop it") << MessageAnswerer::Answer::Confirm << true;
        QTest::newRow("keep downloading") << MessageAnswerer::Answer::Cancel << false;
    }
    void closingTheProgramAsksFirst() {
        QFETCH(MessageAnswerer::Answer, answer);
        QFETCH(bool, stopped);
        QVERIFY(linkWithBuffers(1));
        openWindow();
        const QString name = stopped ? "stopped" : "kept";
        FileDialogAnswerer dialog({file(name + ".csv")});
        MessageAnswerer question({answer});
        QTimer press;
        connect(&press, &QTimer::timeout, m_form, [this, &press] {
            if (Control<QFrame>(m_form, "ProgressPanel")->isVisible()) {
                press.stop();
                m_fixture->panel->close();
            }
        });
        press.start(5);
        Control<QPushButton>(m_form, "DownloadButton")->click();
        QCOMPARE(question.seen.size(), 1);
        QVERIFY(question.seen[0].text.startsWith("A download is in progress."));
        QCOMPARE(GetCommsTimeOut(), 2000);
        QVERIFY(Contents(file(name + "_Leq0.csv")).endsWith("\r\n"));
        if (stopped) {
            QVERIFY(!m_form->isVisible());
            QCOMPARE(Control<QLabel>(m_form, "Label1")->text(),
                     QStringLiteral("The download has been terminated"));
            QTRY_VERIFY(!m_fixture->panel->isVisible());
        } else {
            QCOMPARE(Control<QLabel>(m_form, "RecordsDataLabel")->text(),
                     QString::number(SurveyBlocks));
            QVERIFY(Control<QFrame>(m_form, "FinalPanel")->isVisible());
            QVERIFY(m_fixture->panel->isVisible());
        }
    }

    void dumpAllRunsAsTheWindowIsShown() {
        QVERIFY(linkWithBuffers(1));
        FileDialogAnswerer dialog({file("dump.csv")});
        m_fixture->item("DumpAllItem")->trigger();
        QTRY_VERIFY(Control<QFrame>(m_form, "FinalPanel")->isVisible());
        QCOMPARE(Control<QLabel>(m_form, "FilesCreatedDataLabel3")->text(),
                 QStringLiteral("dump_Hdr.csv"));
        QCOMPARE(Control<QLabel>(m_form, "Label1")->text(),
                 QStringLiteral("The download has been terminated"));
        // The memory ends at its terminator: nothing is missing, and no "of" says so.
        QCOMPARE(Control<QLabel>(m_form, "RecordsDataLabel")->text(),
                 QString::number(SurveyBlocks));
        Control<QPushButton>(m_form, "OKButton")->click();
        QVERIFY(!m_form->isVisible());
        QVERIFY(!m_form->dumpAll);
        QCOMPARE(Contents(file("dump_Sta.csv")).count("\r\n"), 8);
    }

    void cancelledDumpClosesTheWindow() {
        QVERIFY(linkWithBuffers(1));
        FileDialogAnswerer dialog({QString()});
        m_fixture->item("DumpAllItem")->trigger();
        QTRY_COMPARE(dialog.shown, 1);
        QTRY_VERIFY(!m_form->isVisible());
        QVERIFY(!m_form->dumpAll);
        QVERIFY(m_fixture->button("DownloadButton")->isEnabled());
    }

    void clearingTheOnlyBufferHidesTheWindow() {
        QVERIFY(linkWithBuffers(1));
        openWindow();
        MessageAnswerer answerer({MessageAnswerer::Answer::Confirm});
        Control<QPushButton>(m_form, "ClearBufferButton")->click();
        QCOMPARE(answerer.seen.size(), 2);
        QCOMPARE(answerer.seen[1].text, QStringLiteral("There are no more buffers"));
        QVERIFY(!m_form->isVisible());
        QCOMPARE(m_fixture->sim.model().bufferCount(), 0);
    }

    void noBuffersNoWindow() {
        QVERIFY(m_fixture->start() && linkPanel());
        MessageAnswerer answerer;
        m_fixture->button("DownloadButton")->click();
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen[0].text, QStringLiteral("There are currently no buffers"));
        QVERIFY(!m_form->isVisible());
        QVERIFY(m_fixture->button("DownloadButton")->isEnabled());
    }
};

QTEST_MAIN(TestDownloadForm)
#include "test_downloadform.moc"
