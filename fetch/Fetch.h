#pragma once

// One unattended session with a logger: link, list and download, clear when
// asked, unlink in order. A stop request (SIGINT, SIGTERM) ends what runs at
// its next chance; the link is still ended and the files are closed.

#include "BufferList.h"
#include "BufferTransfer.h"
#include "FetchOptions.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QObject>
#include <QPointer>
#include <QTemporaryDir>

#include <memory>

class QEventLoop;

class Fetch : public QObject {
    Q_OBJECT
public:
    explicit Fetch(FetchOptions options);
    ~Fetch() override;

    // The whole session; returns the exit code.
    int run();

public slots:
    void requestStop();

private:
    void resolvePort();
    int link();
    bool dial();
    bool handshake();
    int work();
    void printList(const BufferList& list);
    int download(qint16 buffer, const BufferRecord& record, const QString& baseName);
    int clear(const BufferList& list, const QList<qint16>& downloaded);
    void showProgress(qint32 done, qint32 total, bool wholeMemory);
    int finish(int code);

    FetchOptions m_options;
    qint16 m_port = 0;
    qint32 m_baud = 0;
    QString m_init;
    QString m_device;
    std::unique_ptr<QTemporaryDir> m_privateSettings;
    QString m_serialNumberText;
    bool m_modemFailed = false;
    bool m_stopped = false;
    bool m_progressShown = false;
    BufferTransfer* m_transfer = nullptr; // while a transfer runs
    QPointer<QEventLoop> m_pause;         // while waiting between handshakes
    QElapsedTimer m_clock;
    QJsonArray m_listJson;
    QJsonArray m_downloadsJson;
    int m_cleared = 0;
};
