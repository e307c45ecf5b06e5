#include "frmReference.h"

#include "CommandLibrary.h"
#include "ControlPanel.h"
#include "EventWait.h"
#include "ExchangeGuard.h"
#include "FillPanel.h"
#include "NamedWidget.h"
#include "ReferenceLevel.h"
#include "StatusPollTimer.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int Readings = 5;
constexpr int ReadingGap = 250; // milliseconds between two readings

const QString OkBeforeLogging =
    QStringLiteral("Select \"OK\" to use this reference level and commence logging.");
const QString OkAfterLogging = QStringLiteral("Select \"OK\" to use this reference level.");

QFrame* Panel(const char* name, QWidget* parent) {
    auto* panel = Named(new QFrame(parent), name);
    panel->setFrameShape(QFrame::StyledPanel);
    return panel;
}

} // namespace

frmReference::frmReference(ControlPanel* panel)
    : ActivityWindow(panel), pnlDone(Named(new FillPanel(this), "pnlDone")),
      lblMeasuring(NamedLabel("lblMeasuring", "Measuring Reference...", this)),
      lblReference(NamedLabel("lblReference", "The reference level is", this)),
      lblLevel(NamedLabel("lblLevel", {}, this)), lblOK(NamedLabel("lblOK", OkBeforeLogging, this)),
      lblCancel(NamedLabel(
          "lblCancel",
          "Select \"Cancel\" to return to the previous screen without using this level.", this)),
      lblRetake(
          NamedLabel("lblRetake", "Select \"Retake\" to record another reference level.", this)),
      lblRemove(NamedLabel(
          "lblRemove", "Ensure that the reference is removed before commencing logging.", this)),
      cmdOK(NamedButton("cmdOK", "OK", this)), cmdRetake(NamedButton("cmdRetake", "Retake", this)),
      cmdCancel(NamedButton("cmdCancel", "Cancel", this)), pnlInfo(Panel("pnlInfo", this)),
      pnlProgress(Panel("pnlProgress", this)),
      m_pollTimer(pollStatusWhileShown([this] { poll(); })) {
    setObjectName("frmReference");
    setWindowTitle("Please verify the reference level...");
    setWindowModality(Qt::ApplicationModal);
    m_pollTimer->timer().setObjectName("tmrReference");
    buildControls();

    connect(cmdOK, &QPushButton::clicked, this, [this] { answer(0); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { answer(1); });
    connect(cmdRetake, &QPushButton::clicked, this, [this] {
        showMeasuring();
        if (m_busy)
            m_pending = Retake;
        else
            GetReference(); // the poll timer's ticks stand aside meanwhile
    });
    hideOnUnlink();
    cancelWith(cmdCancel);
}

void frmReference::buildControls() {
    pnlDone->setFillColor(QColor(0, 0, 160));
    pnlDone->setFixedHeight(fontMetrics().height() * 2);
    auto* info = new QVBoxLayout(pnlInfo);
    info->addWidget(lblMeasuring, 0, Qt::AlignHCenter);
    info->addWidget(pnlDone);

    auto* progress = new QVBoxLayout(pnlProgress);
    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(lblReference);
    levelRow->addWidget(lblLevel);
    levelRow->addStretch();
    progress->addLayout(levelRow);
    for (QLabel* line : {lblOK, lblCancel, lblRetake, lblRemove}) {
        line->setWordWrap(true);
        progress->addWidget(line);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {cmdOK, cmdRetake, cmdCancel}) {
        button->setAccessibleName(button->text());
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pnlInfo);
    layout->addWidget(pnlProgress);
    layout->addLayout(buttons);
    cmdOK->setDefault(true);
    setMinimumWidth(fontMetrics().horizontalAdvance(lblCancel->text()) / 2 +
                    fontMetrics().averageCharWidth() * 8);
}

QTimer& frmReference::tmrReference() {
    return m_pollTimer->timer();
}

void frmReference::setPostMeasurement(bool post) {
    cmdCancel->setEnabled(!post);
    lblOK->setText(post ? OkAfterLogging : OkBeforeLogging);
    lblCancel->setVisible(!post);
    lblRemove->setVisible(!post);
}

int frmReference::runModal() {
    result = 1; // a window closed by anything but OK was not accepted
    exec();
    return result;
}

void frmReference::showMeasuring() {
    pnlProgress->hide();
    pnlInfo->show();
    lblLevel->hide();
    cmdRetake->setEnabled(false);
    cmdOK->setEnabled(false);
}

void frmReference::showResult() {
    pnlProgress->show();
    pnlInfo->hide();
    lblLevel->show();
    cmdRetake->setEnabled(true);
    cmdOK->setEnabled(true);
    lblLevel->setText(ReferenceLevelText(level));
}

void frmReference::GetReference() {
    showMeasuring();
    const bool cancelAllowed = cmdCancel->isEnabled();
    cmdCancel->setEnabled(false);
    repaint();
    m_measuring = true;
    const QPointer<frmReference> alive(this);
    const bool shown = isVisible();
    QList<qint16> readings;
    for (int i = 1; i <= Readings; ++i) {
        pnlDone->setFillPercent(i * 100 / Readings);
        pnlDone->repaint();
        readings << Logger::GetSpl();
        WaitWithEvents(ReadingGap);
        if (!alive)
            return;
        // A window hidden meanwhile (the link dropped) needs no more readings.
        if (shown && !isVisible())
            break;
    }
    m_measuring = false;
    level = ReferenceLevel(readings);
    showResult();
    cmdCancel->setEnabled(cancelAllowed);
}

void frmReference::answer(qint16 choice) {
    result = choice;
    if (m_busy)
        m_pending = Close;
    else
        hide();
}

void frmReference::poll() {
    // Never during a reading or another exchange, nor inside a poll of its own
    // (a failure notice runs the event loop).
    if (m_busy || m_measuring || ExchangeInProgress())
        return;
    m_busy = true;
    controlPanel()->main_update();
    m_busy = false;
    const qint16 pending = m_pending;
    m_pending = None;
    if (pending == Retake)
        GetReference();
    else if (pending == Close)
        hide();
}

void frmReference::showEvent(QShowEvent* event) {
    ActivityWindow::showEvent(event);
    m_pending = None;
    // A reading from an earlier showing (the reference before logging, say)
    // is never offered again: each showing measures afresh.
    showMeasuring();
    m_measuring = true;
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            GetReference();
    });
}
