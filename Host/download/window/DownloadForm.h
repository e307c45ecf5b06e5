#pragma once

#include "ActivityWindow.h"
#include "BufferRecord.h"
#include "BufferTransfer.h"

#include <QList>
#include <QVector>

class FillPanel;
class QComboBox;
class QFileDialog;
class QFrame;
class QLabel;
class QPushButton;
class StatusPollTimer;
class ControlPanel;

// "Download Data...": lists the logger's buffers, describes the selected one,
// downloads it or the whole memory into data files, and clears the most recent
// buffer. Every logger exchange runs as a request of the queue.
class DownloadForm : public ActivityWindow {
    Q_OBJECT
public:
    explicit DownloadForm(ControlPanel* panel);

    qint16 bufferCount = 0;
    // Set by the dump-all request: the window runs the dump as it is shown.
    bool dumpAll = false;
    // A terminator block ends a transfer; only the factory tools read past it.
    bool stopAtTerminator = true;
    // How long one block may take to arrive.
    qint32 blockTimeOut = TransferTimeOut;

    bool can_clear_buffer() const;
    void clear_buffer();
    void close_window();
    void enable_buttons(bool flag);
    void initialise_and_show();
    void store_data();
    void dump_all();
    void update_buffers();

private:
    // Controls; tests and outside checks find them by objectName.
    QLabel* const CurrentBufferLabel;
    QComboBox* const BufferCombo;
    QPushButton* const DownloadButton;
    QPushButton* const ClearBufferButton;
    QPushButton* const CloseButton;
    QFrame* const pnlSummary;
    QFrame* const ProgressPanel;
    FillPanel* const DonePanel;
    QLabel* const DoneLabel;
    QPushButton* const AbortButton;
    QFrame* const FinalPanel;
    QLabel* const Label1;
    QLabel* const RecordsHeadingLabel;
    QLabel* const RecordsDataLabel;
    QLabel* const Label2;
    QList<QLabel*> FilesCreatedDataLabel; // event log, statistical, Leq, header
    QLabel* const Label3;
    QLabel* const TimeTakenDataLabel;
    QPushButton* const OKButton;
    QFileDialog* const SaveFileDialog;
    StatusPollTimer* const DownloadTimer;

public slots:
    // Escape counts as the close box.

protected:
    // Watches the control panel's close, to ask before a transfer is cut short.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    void selectEntry(int index);
    void okButton();
    void showIdle();
    void showTransferring();
    // The base name of the files, or empty when the operator cancelled.
    QString chooseBaseName();
    bool replacingConfirmed(const QString& baseName);
    // Runs transfers until one ends other than by a file error (after which
    // the operator picks another name); false when the operator cancelled.
    bool transferUntilWritten(const std::function<TransferRequest(const QString&)>& request);
    TransferResult runTransfer(const TransferRequest& request);
    void showProgress(qint32 done, qint32 total, bool wholeMemory);
    void showResult(const TransferResult& result);
    QVector<BufferRecord> m_records;
    BufferTransfer* m_transfer = nullptr; // while a transfer runs
    QStringList m_lastFiles;              // of the last transfer, flushed before a clear
};
