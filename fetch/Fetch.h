#pragma once

// One unattended session with a logger: link (trying again when asked),
// check it is the logger expected, report its state, list and download,
// clear when asked, unlink in order. Nobody watches it, so it never takes a
// guess for data: files are staged until their transfer is complete and then
// carry a manifest, and a buffer is cleared only once its every block is
// proven to be on the disk. A stop signal or the time limit ends the run at
// its next exchange; the link is still ended and the files closed.
//
// Fetch.cpp: the session and its summary; FetchDownload.cpp: the downloads;
// FetchClear.cpp: the clearing rules.

#include "BufferList.h"
#include "BufferTransfer.h"
#include "FetchOptions.h"
#include "FetchSummary.h"
#include "LoggerRecords.h"
#include "Manifest.h"

#include <QElapsedTimer>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QTemporaryDir>

#include <memory>

class QEventLoop;

// What allows a buffer to be cleared: its blocks on the disk, or why not.
struct ClearProof {
    qint32 blocks = -1;
    QString refusal;
};

class Fetch : public QObject {
    Q_OBJECT
public:
    explicit Fetch(FetchOptions options);
    ~Fetch() override;

    // The whole session; returns the exit code.
    int run();

public slots:
    // Called from the event loop once a stop signal has come or the time
    // limit is reached: a link attempt waiting on the line or a pause ends at once.
    void requestStop();

private:
    bool stopped() const;
    qint64 timeLeftMs() const;
    bool timeLimitReached() const;
    void pause(qint64 milliseconds);
    void resolvePort();
    int linkWithRetries();
    int link();
    bool dial();
    bool handshake();
    int work();
    void printList(const BufferList& list);

    int downloadBuffers(const BufferList& list, const QList<qint16>& buffers);
    int downloadWholeMemory(const BufferList& list);
    int download(const TransferRequest& request, const BufferList& list);
    // The base of one buffer's files (0: the whole memory), its folder made;
    // empty after an error.
    QString baseFor(qint16 buffer, const BufferList& list);
    // Why the set under this base may not be replaced (it holds a recording
    // the logger no longer holds), or empty.
    QString replacementRefusal(const std::optional<ManifestedSet>& earlier, const QString& base,
                               const BufferList& list) const;
    void noteDownload(qint16 buffer, const BufferList& list, const QJsonObject& outcome);
    void showProgress(qint32 done, qint32 total, bool wholeMemory);

    int clearBuffers(const BufferList& list, const QList<qint16>& requested);
    int clearWholeMemory(const BufferList& list);
    ClearProof proofOf(qint16 buffer, const BufferList& list) const;
    int clearFromNewest(const BufferList& list, const QMap<qint16, ClearProof>& proofs);
    QString clearRefusal(qint16 buffer, const BufferList& list, qint32 blocks);

    int finish(int code);

    FetchOptions m_options;
    qint16 m_port = 0;
    qint32 m_baud = 0;
    QString m_init;
    std::unique_ptr<QTemporaryDir> m_privateSettings;
    InformationRecord m_info = FailedInformation();
    QDateTime m_infoReadAt;
    bool m_modemFailed = false;
    bool m_linking = false;
    bool m_progressShown = false;
    QPointer<QEventLoop> m_pause; // while waiting between tries or handshakes
    QElapsedTimer m_clock;
    FetchSummary m_summary;
    // The base of each buffer (1 to 8; 0 the whole memory) whose complete
    // download is on the disk: made by this run, or found there.
    QMap<qint16, QString> m_complete;
    QStringList m_bases; // given to a download of this run
    int m_cleared = 0;
};
