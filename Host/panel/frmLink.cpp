#include "frmLink.h"

#include "CommandLibrary.h"
#include "FillPanel.h"
#include "Link.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmLink::frmLink(QWidget* parent)
    : QDialog(parent), cmdCancel(new QPushButton("Cancel", this)), pnlDone(new FillPanel(this)),
      lblDone(new QLabel(this)) {
    setObjectName("frmLink");
    setWindowTitle("Linking to Logger");
    cmdCancel->setObjectName("cmdCancel");
    pnlDone->setObjectName("pnlDone");
    lblDone->setObjectName("lblDone");
    pnlDone->setMinimumSize(240, 22);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblDone);
    layout->addWidget(pnlDone);
    layout->addWidget(cmdCancel, 0, Qt::AlignHCenter);
    tmrLink.setObjectName("tmrLink");
    tmrLink.setInterval(HandshakeRetrySpacingMs);
    connect(&tmrLink, &QTimer::timeout, this, [this] {
        m_timerExpired = true;
        tmrLink.stop();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &frmLink::cancel);
}

void frmLink::cancel() {
    m_cancelled = true;
    InterruptReceive(); // a handshake that is waiting returns at once
}

void frmLink::reject() {
    // Escape: the attempt loop hides the window once it has stopped.
    cancel();
}

void frmLink::closeEvent(QCloseEvent* event) {
    // The close box is the Cancel button: the attempt loop hides the window.
    event->ignore();
    cancel();
}

bool frmLink::Link() {
    m_attempts = 0;
    m_timerExpired = false;
    m_cancelled = false;
    if (Logger::Handshake())
        return true;
    if (m_cancelled)
        return false; // the program is closing
    pnlDone->setFillPercent(0);
    show();
    repaint();
    bool linked = false;
    do {
        ++m_attempts;
        lblDone->setText("Link failed - Retrying.");
        pnlDone->setFillPercent(10 * m_attempts);
        linked = Logger::Handshake();
        m_timerExpired = false;
        tmrLink.start();
        while (!m_timerExpired && !m_cancelled)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        tmrLink.stop();
    } while (!linked && !m_cancelled && m_attempts < MaximumAttempts);
    hide();
    return linked;
}
