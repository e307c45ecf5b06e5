#pragma once

#include "Link.h"

#include <QDialog>
#include <QTimer>

class FillPanel;
class QLabel;
class QPushButton;

// "Linking to Logger": the link handshake with its retries, shown only when
// the first handshake fails.
class frmLink : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaximumAttempts = HandshakeRetries;

    explicit frmLink(QWidget* parent = nullptr);

    // The handshake with retries; true when the logger answered "k".
    bool Link();
    int attempts() const { return m_attempts; }
    // Ends the attempt at once: Cancel, Escape, the close box, or the program closing.
    void cancel();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QTimer tmrLink;
    QPushButton* cmdCancel;
    FillPanel* pnlDone;
    QLabel* lblDone;
    int m_attempts = 0;
    bool m_timerExpired = false;
    bool m_cancelled = false;
};
