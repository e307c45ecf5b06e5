#include "frmSummary.h"

#include "CommandLibrary.h"
#include "ControlPanel.h"
#include "EventWait.h"
#include "LoggingEstimate.h"
#include "LoggingForm.h"
#include "MemoryRate.h"
#include "NamedWidget.h"
#include "ParameterDescription.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "StatusPollTimer.h"
#include "WindowPlacement.h"
#include "frmReference.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

// The logger's mode is read once it has settled into the run.
constexpr int SettleMs = 200;

} // namespace

frmSummary::frmSummary(ControlPanel* panel, LoggingForm* logging)
    : ActivityWindow(panel), pnlSummary(BuildSummaryPanel(this)),
      lblReference(NamedLabel("lblReference", "The estimated logger life is", this)),
      lblLife(NamedLabel("lblLife", QString(), this)),
      lblLimitedBy(NamedLabel("lblLimitedBy", QString(), this)),
      lblOK(NamedLabel("lblOK",
                       "If these settings are correct, then please attach a reference signal and "
                       "click \"OK\".",
                       this)),
      lblCancel(NamedLabel("lblCancel",
                           "Otherwise, click \"Cancel\" to go back to the logging window.", this)),
      cmdOK(NamedButton("cmdOK", "OK", this)), cmdCancel(NamedButton("cmdCancel", "Cancel", this)),
      tmrSummary(Named(pollStatusWhileShown(), "tmrSummary")), m_logging(logging) {
    setObjectName("frmSummary");
    setWindowTitle("Logging Settings Summary");
    setWindowModality(Qt::ApplicationModal);
    auto* life = new QHBoxLayout;
    life->addWidget(lblReference);
    life->addWidget(lblLife);
    life->addWidget(lblLimitedBy);
    life->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    cmdOK->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pnlSummary);
    layout->addLayout(life);
    layout->addWidget(NamedLabel("lblNote1",
                                 "Please note that this is indication only and does not take into "
                                 "account the effect of any trigger or tape settings",
                                 this));
    layout->addWidget(NamedLabel("lblNote2",
                                 "that may reduce logging time.  Nor does it consider timer "
                                 "settings that may increase logging time.",
                                 this));
    layout->addWidget(lblOK);
    layout->addWidget(lblCancel);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, [this] {
        hide();
        PostRequest(Request::GetPreReference);
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        hide();
        ParkWindow([logging = m_logging] { logging->show(); });
    });
    registerRequest(Request::GetPreReference, [this](qint16) { GetPreReference(); });
    hideOnUnlink();
    cancelWith(cmdCancel);
}

void frmSummary::showSetup(const LoggingSetup& setup, qint32 freeMemory, qint16 battery) {
    DescribeParameters(SetupRecord(setup), this);
    const LoggingEstimate estimate =
        EstimateLoggingTime(MemoryRate(setup.parameters), freeMemory, battery);
    lblLimitedBy->setText(LimitText(estimate));
    lblLife->setText(LifeText(estimate));
    adjustSize();
}

void frmSummary::GetPreReference() {
    m_reference->adjustSize();
    PlaceCentred(m_reference, this);
    m_reference->runModal();
    if (m_reference->result != 0) {
        ParkWindow([this] { show(); });
        return;
    }
    m_logging->setup.preReference = ReferenceLevelWord(m_reference->level);
    Go();
}

void frmSummary::Go() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Whatever the logger answers, its mode is read back just below.
    Logger::StartLogging(SetupBlock(m_logging->setup));
    WaitWithEvents(SettleMs);
    controlPanel()->main_set_buttons();
    controlPanel()->main_get_status();
    if (m_logging->updateBuffers)
        m_logging->updateBuffers();
    controlPanel()->EnableInterface(true);
    QApplication::restoreOverrideCursor();
}
