#pragma once

// One unattended session with a logger: link, list and download, clear when
// asked, unlink in order. Nobody watches it, so it never takes a guess for
// data: files are staged until their transfer is complete and then carry a
// manifest, and a buffer is cleared only once its every block is proven to be
// on the disk. A stop signal ends the run at its next exchange; the link is
// still ended and the files closed.
//
// Fetch.cpp: the session and its summary; FetchDownload.cpp: the downloads;
// FetchClear.cpp: the clearing rules.

#include "BufferList.h"
#include "BufferTransfer.h"
#include "FetchOptions.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QTemporaryDir>

#include <memory>

class QEventLoop;

// One line of the log on standard error.
void FetchError(const QString& text);

class Fetch : public QObject {
    Q_OBJECT
public:
    explicit Fetch(FetchOptions options);
    ~Fetch() override;

    // The whole session; returns the exit code.
    int run();

public slots:
    // Called from the event loop once a stop signal has come: a link attempt
    // waiting on the line or between handshakes returns at once.
    void requestStop();

private:
    bool stopped() const;
    void resolvePort();
    int link();
    bool dial();
    bool handshake();
    int work();
    void printList(const BufferList& list);

    int downloadBuffers(const BufferList& list, const QList<qint16>& buffers);
    int downloadWholeMemory(const BufferList& list);
    int download(const TransferRequest& request, const BufferList& list);
    void noteNotDownloaded(qint16 buffer, const QString& result);
    void showProgress(qint32 done, qint32 total, bool wholeMemory);

    int clearBuffers(const BufferList& list, const QList<qint16>& requested);
    int clearWholeMemory(const BufferList& list);
    int clearFromNewest(const BufferList& list, const QMap<qint16, qint32>& blocks);
    QString clearRefusal(qint16 buffer, const BufferList& list, qint32 blocks);

    int finish(int code);

    FetchOptions m_options;
    qint16 m_port = 0;
    qint32 m_baud = 0;
    QString m_init;
    QString m_device;
    std::unique_ptr<QTemporaryDir> m_privateSettings;
    QString m_serialNumberText;
    bool m_modemFailed = false;
    bool m_linking = false;
    bool m_progressShown = false;
    QPointer<QEventLoop> m_pause; // while waiting between handshakes
    QElapsedTimer m_clock;
    QJsonArray m_listJson;
    QJsonArray m_downloadsJson;
    // Blocks written by each complete download of this run: buffer number (1
    // to 8), or 0 for the whole memory up to its terminator.
    QMap<qint16, qint32> m_complete;
    int m_cleared = 0;
};
