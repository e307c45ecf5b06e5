#include "DownloadForm.h"

#include "BufferList.h"
#include "CommandLibrary.h"
#include "ControlPanel.h"
#include "DiskSync.h"
#include "FillPanel.h"
#include "HostSettings.h"
#include "LoggerSession.h"
#include "NamedWidget.h"
#include "ParameterDescription.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "StatusPollTimer.h"
#include "WindowPlacement.h"
#include "frmMessage.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString Maker = QStringLiteral("Orvane Instruments");

QFrame* NamedPanel(const QString& name, QWidget* parent) {
    auto* panel = Named(new QFrame(parent), name);
    panel->setFrameShape(QFrame::StyledPanel);
    return panel;
}

} // namespace

DownloadForm::DownloadForm(ControlPanel* panel)
    : ActivityWindow(panel, Qt::Dialog),
      CurrentBufferLabel(NamedLabel("CurrentBufferLabel", "Current Buffer :", this)),
      BufferCombo(new QComboBox(this)),
      DownloadButton(NamedButton("DownloadButton", "Download", this)),
      ClearBufferButton(NamedButton("ClearBufferButton", "Clear", this)),
      CloseButton(NamedButton("CloseButton", "Close", this)), pnlSummary(BuildSummaryPanel(this)),
      ProgressPanel(NamedPanel("ProgressPanel", this)), DonePanel(new FillPanel(ProgressPanel)),
      DoneLabel(NamedLabel("DoneLabel", {}, ProgressPanel)),
      AbortButton(NamedButton("AbortButton", "Abort", ProgressPanel)),
      FinalPanel(NamedPanel("FinalPanel", this)),
      Label1(NamedLabel("Label1", TransferTexts::Completed, FinalPanel)),
      RecordsHeadingLabel(NamedLabel("RecordsHeadingLabel", "Records :", FinalPanel)),
      RecordsDataLabel(NamedLabel("RecordsDataLabel", {}, FinalPanel)),
      Label2(NamedLabel("Label2", "Files created :", FinalPanel)),
      Label3(NamedLabel("Label3", "Time Taken :", FinalPanel)),
      TimeTakenDataLabel(NamedLabel("TimeTakenDataLabel", {}, FinalPanel)),
      OKButton(NamedButton("OKButton", "OK", FinalPanel)), SaveFileDialog(new QFileDialog(this)),
      DownloadTimer(pollStatusWhileShown()) {
    setObjectName("DownloadForm");
    setWindowTitle("Download Data...");
    setWindowModality(Qt::ApplicationModal);
    DownloadTimer->setObjectName("DownloadTimer");
    buildControls();
    showIdle();

    connect(BufferCombo, &QComboBox::activated, this, &DownloadForm::selectEntry);
    connect(DownloadButton, &QPushButton::clicked, this, [] { PostRequest(Request::StoreData); });
    connect(ClearBufferButton, &QPushButton::clicked, this,
            [] { PostRequest(Request::ClearBuffer); });
    connect(CloseButton, &QPushButton::clicked, this, [this] {
        okButton();
        PostRequest(Request::CloseDownload);
    });
    connect(OKButton, &QPushButton::clicked, this, &DownloadForm::okButton);
    connect(AbortButton, &QPushButton::clicked, this, [this] {
        if (m_transfer)
            m_transfer->abort();
        AbortButton->setEnabled(false);
    });

    registerRequest(Request::ShowDownload, [this](qint16) { initialise_and_show(); });
    registerRequest(Request::ClearBuffer, [this](qint16) { clear_buffer(); });
    registerRequest(Request::CloseDownload, [this](qint16) { close_window(); });
    registerRequest(Request::StoreData, [this](qint16) { store_data(); });
    registerRequest(Request::DumpAll, [this](qint16) {
        dumpAll = true;
        adjustSize();
        PlaceBottomAligned(this, controlPanel()->panelWindow());
        ParkWindow([this] { show(); });
    });
    registerRequest(Request::RunDumpAll, [this](qint16) { dump_all(); });
    hideOnUnlink();
    controlPanel()->panelWindow()->installEventFilter(this);
    cancelWith(CloseButton);
    disablePanelWhileShown();
}

void DownloadForm::buildControls() {
    BufferCombo->setObjectName("BufferCombo");
    BufferCombo->setAccessibleName(CurrentBufferLabel->text());
    BufferCombo->setMinimumContentsLength(20);
    CurrentBufferLabel->setBuddy(BufferCombo);

    DonePanel->setObjectName("DonePanel");
    DonePanel->setFillColor(QColor(0, 0, 160));
    DonePanel->setFixedHeight(fontMetrics().height() * 2);
    DoneLabel->setAlignment(Qt::AlignHCenter);
    auto* progress = new QVBoxLayout(ProgressPanel);
    progress->addStretch();
    progress->addWidget(DonePanel);
    progress->addWidget(DoneLabel);
    progress->addStretch();
    progress->addWidget(AbortButton, 0, Qt::AlignHCenter);

    for (int i = 0; i < 4; ++i)
        FilesCreatedDataLabel << NamedLabel(QString("FilesCreatedDataLabel%1").arg(i), {},
                                            FinalPanel);
    auto* final = new QGridLayout(FinalPanel);
    final->addWidget(Label1, 0, 0, 1, 2, Qt::AlignHCenter);
    final->addWidget(RecordsHeadingLabel, 1, 0, Qt::AlignRight);
    final->addWidget(RecordsDataLabel, 1, 1);
    final->addWidget(Label2, 2, 0, Qt::AlignRight | Qt::AlignTop);
    for (int i = 0; i < FilesCreatedDataLabel.size(); ++i)
        final->addWidget(FilesCreatedDataLabel[i], 2 + i, 1);
    final->addWidget(Label3, 6, 0, Qt::AlignRight);
    final->addWidget(TimeTakenDataLabel, 6, 1);
    final->addWidget(OKButton, 8, 0, 1, 2, Qt::AlignHCenter);
    final->setColumnStretch(1, 1);
    final->setRowStretch(7, 1);

    auto* choice = new QHBoxLayout;
    choice->addWidget(CurrentBufferLabel);
    choice->addWidget(BufferCombo, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {DownloadButton, ClearBufferButton, CloseButton})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    for (QWidget* panel : {static_cast<QWidget*>(pnlSummary), static_cast<QWidget*>(ProgressPanel),
                           static_cast<QWidget*>(FinalPanel)})
        layout->addWidget(panel);
    layout->addLayout(buttons);

    SaveFileDialog->setObjectName("SaveFileDialog");
    SaveFileDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveFileDialog->setFileMode(QFileDialog::AnyFile);
    // One question covers every file a download replaces, not just the one picked.
    SaveFileDialog->setOptions(QFileDialog::DontUseNativeDialog |
                               QFileDialog::DontConfirmOverwrite);
    SaveFileDialog->setNameFilter("Comma Separated Variable Files (*.CSV *.csv)");
}

bool DownloadForm::can_clear_buffer() const {
    const int index = BufferCombo->currentIndex();
    return Session().mode == 0 && index >= 0 && index == BufferCombo->count() - 1;
}

void DownloadForm::enable_buttons(bool flag) {
    ClearBufferButton->setEnabled(flag && can_clear_buffer());
    for (QWidget* control :
         {static_cast<QWidget*>(DownloadButton), static_cast<QWidget*>(CloseButton),
          static_cast<QWidget*>(BufferCombo), static_cast<QWidget*>(CurrentBufferLabel)})
        control->setEnabled(flag);
}

void DownloadForm::update_buffers() {
    BufferCombo->clear();
    const BufferList list = ReadBufferList();
    if (list.count == -1) {
        QMessageBox box(QMessageBox::NoIcon, Maker, "Communications error with logger.",
                        QMessageBox::Ok, controlPanel()->panelWindow());
        box.exec();
    }
    bufferCount = list.count;
    m_records = list.records;
    for (qsizetype i = 0; i < m_records.size(); ++i)
        BufferCombo->addItem(QString::number(i + 1) + ": " + TitleText(m_records.at(i).title));
}

void DownloadForm::initialise_and_show() {
    qint16 count = Logger::GetBuffers();
    // A list read at another time may no longer match the logger's buffers.
    if (count >= 1 && count <= MaxBuffers && count != BufferCombo->count())
        update_buffers();
    if (count < 1 || count > MaxBuffers || BufferCombo->count() != count) {
        ShowMessage("There are currently no buffers", 0, Maker);
        controlPanel()->EnableInterface(true);
        return;
    }
    bufferCount = count;
    showIdle();
    enable_buttons(true);
    selectEntry(count - 1);
    adjustSize();
    PlaceBottomAligned(this, controlPanel()->panelWindow());
    ParkWindow([this] { show(); });
}

void DownloadForm::selectEntry(int index) {
    if (BufferCombo->currentIndex() != index)
        BufferCombo->setCurrentIndex(index);
    ClearBufferButton->setEnabled(BufferCombo->isEnabled() && can_clear_buffer());
    if (index >= 0 && index < m_records.size())
        DescribeParameters(m_records.at(index), pnlSummary);
}

void DownloadForm::clear_buffer() {
    if (!can_clear_buffer())
        return;
    if (ShowMessage("This will permamently erase the data in this buffer.\rAre you sure?", 4,
                    "Please Confirm...") != 6)
        return;
    enable_buttons(false);
    // The files just downloaded reach the disk before the logger's copy goes.
    // Files since moved or deleted are the operator's choice and hold nothing
    // to flush.
    QStringList written;
    for (const QString& path : std::as_const(m_lastFiles))
        if (QFileInfo::exists(path))
            written << path;
    if (const QString unsynced = SyncToDisk(written); !unsynced.isEmpty()) {
        ShowMessage("The file " + QDir::toNativeSeparators(unsynced) +
                        " could not be written to the disk.\rThe buffer has not been cleared.",
                    0, "File access warning.");
        enable_buttons(true);
        return;
    }
    // Any answer is the logger's acknowledgement here: the list is read again anyway.
    if (Logger::ClearBuffer() != -1) {
        controlPanel()->main_get_info(); // refreshes the list through update_buffers
        if (BufferCombo->count() < 1) {
            ShowMessage("There are no more buffers", 0, Maker);
            hide();
        } else {
            selectEntry(BufferCombo->count() - 1);
        }
    }
    enable_buttons(true);
}

void DownloadForm::close_window() {
    if (m_transfer)
        m_transfer->abort();
    hide();
}

void DownloadForm::okButton() {
    showIdle();
    enable_buttons(true);
    if (dumpAll) {
        dumpAll = false;
        hide();
    }
}

void DownloadForm::showIdle() {
    FinalPanel->hide();
    ProgressPanel->hide();
    pnlSummary->show();
}

void DownloadForm::showTransferring() {
    for (QLabel* label : std::as_const(FilesCreatedDataLabel))
        label->clear();
    pnlSummary->hide();
    FinalPanel->hide();
    DonePanel->setFillPercent(0);
    DoneLabel->clear();
    AbortButton->setEnabled(true);
    ProgressPanel->show();
    AbortButton->setFocus();
    repaint();
}

void DownloadForm::store_data() {
    const int buffer = BufferCombo->currentIndex();
    if (buffer < 0 || buffer >= m_records.size())
        return; // nothing selected: nothing to download
    enable_buttons(false);
    const BufferRecord record = m_records.at(buffer);
    transferUntilWritten([&record, buffer](const QString& baseName) {
        return TransferRequest::OneBuffer(qint16(buffer), record, baseName);
    });
}

void DownloadForm::dump_all() {
    enable_buttons(false);
    pnlSummary->hide();
    transferUntilWritten(
        [](const QString& baseName) { return TransferRequest::WholeMemoryDump(baseName); });
}

bool DownloadForm::transferUntilWritten(
    const std::function<TransferRequest(const QString&)>& request) {
    for (;;) {
        const QString baseName = chooseBaseName();
        if (baseName.isEmpty()) {
            okButton();
            return false;
        }
        if (!replacingConfirmed(baseName))
            continue;
        showTransferring();
        const TransferResult result = runTransfer(request(baseName));
        if (result.outcome != TransferResult::Outcome::FileError) {
            showResult(result);
            return true;
        }
        // The files are closed and the wait limit restored before the next name is asked.
        ProgressPanel->hide();
        ShowMessage("Cannot write to this file.\rPlease try again\r\r" + result.message, 0,
                    "File access warning.");
    }
}

QString DownloadForm::chooseBaseName() {
    QString folder =
        HostSettings::Read(HostSettings::Download, HostSettings::Key::Path, QDir::homePath());
    if (!QDir(folder).exists())
        folder = QDir::homePath();
    SaveFileDialog->setDirectory(folder);
    SaveFileDialog->selectFile(QString());
    // The logger must not power down while the operator thinks of a name.
    const bool powerDown = Session().powerDownEnabled;
    controlPanel()->SetPowerDown(false);
    const bool chosen = SaveFileDialog->exec() == QDialog::Accepted;
    controlPanel()->SetPowerDown(powerDown);
    const QString path = chosen ? SaveFileDialog->selectedFiles().value(0) : QString();
    if (path.isEmpty() || QFileInfo(path).isDir())
        return {}; // a folder is no file name
    HostSettings::Write(HostSettings::Download, HostSettings::Key::Path,
                        QFileInfo(path).absolutePath());
    return BaseNameFromChosenFile(path);
}

bool DownloadForm::replacingConfirmed(const QString& baseName) {
    QStringList existing;
    for (const QString& path : ExistingDataFiles(baseName))
        existing << QFileInfo(path).fileName();
    if (existing.isEmpty())
        return true;
    return ShowMessage("These files of an earlier download will be replaced:\r" +
                           existing.join('\r') + "\r\rDo you want to replace them?",
                       4, "Please Confirm...") == 6;
}

TransferResult DownloadForm::runTransfer(const TransferRequest& base) {
    TransferRequest request = base;
    request.serialNumberText = Session().serialNumberText;
    request.stopAtTerminator = stopAtTerminator;
    request.blockTimeOut = blockTimeOut;
    // The logger is woken after the final panel is up, as the operator sees it.
    request.checkLoggerAwake = false;
    BufferTransfer transfer(request);
    const bool wholeMemory = request.buffer == WholeMemory;
    transfer.setProgress(
        [this, wholeMemory](qint32 done, qint32 total) { showProgress(done, total, wholeMemory); });
    transfer.setFileOpened([this](DataFileKind kind, const QString& path) {
        QLabel* label = FilesCreatedDataLabel.value(int(kind));
        if (label)
            label->setText(QFileInfo(path).fileName());
    });
    m_transfer = &transfer;
    TransferResult result = transfer.run();
    m_transfer = nullptr;
    m_lastFiles = result.files;
    return result;
}

void DownloadForm::showProgress(qint32 done, qint32 total, bool wholeMemory) {
    const int percent = ProgressPercent(done, total);
    if (percent != DonePanel->fillPercent())
        DonePanel->setFillPercent(percent);
    DoneLabel->setText(ProgressText(done, total, wholeMemory));
    DoneLabel->repaint();
}

void DownloadForm::showResult(const TransferResult& result) {
    ProgressPanel->hide();
    if (result.outcome == TransferResult::Outcome::Interrupted) {
        QMessageBox box(QMessageBox::Warning, TransferTexts::ProblemTitle, result.message,
                        QMessageBox::Ok, this);
        box.exec();
        showIdle();
        enable_buttons(true);
        return;
    }
    Label1->setText(result.message);
    // Whether every announced block arrived is seen at a glance. The memory
    // ends at its terminator: the blocks after it are old memory, not missing.
    RecordsDataLabel->setText(
        result.complete || result.records == result.announced
            ? QString::number(result.records)
            : QStringLiteral("%1 of %2").arg(result.records).arg(result.announced));
    TimeTakenDataLabel->setText(TimeTakenText(result.elapsedSeconds));
    FinalPanel->show();
    OKButton->setFocus();
    if (!isVisible()) { // closed during the transfer: nothing more to show
        okButton();
        return;
    }
    if (!WakeLogger())
        controlPanel()->instant_unlink();
}

bool DownloadForm::eventFilter(QObject* watched, QEvent* event) {
    // The program is being closed while a transfer runs: the operator decides
    // whether it stops there, as Abort would stop it, or goes on.
    if (watched == controlPanel()->panelWindow() && event->type() == QEvent::Close && m_transfer &&
        !m_transfer->abortRequested()) {
        if (ShowMessage("A download is in progress.\rDo you want to stop it and exit?\r\rThe "
                        "files keep the data received so far; the rest stays in the logger. "
                        "Choose No to go on downloading.",
                        4, "Please Confirm...") != 6) {
            event->ignore();
            return true;
        }
        m_transfer->abort();
    }
    return QDialog::eventFilter(watched, event);
}

void DownloadForm::showEvent(QShowEvent* event) {
    ActivityWindow::showEvent(event);
    // Run from the event loop, as a request, so that no poll comes between blocks.
    if (dumpAll)
        QTimer::singleShot(0, this, [] { PostRequest(Request::RunDumpAll); });
}

void DownloadForm::hideEvent(QHideEvent* event) {
    // A hidden window's transfer stops at the next block; its files are kept.
    if (m_transfer)
        m_transfer->abort();
    ActivityWindow::hideEvent(event);
}
