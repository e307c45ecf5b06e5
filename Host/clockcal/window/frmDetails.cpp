#include "frmDetails.h"

#include "CommandLibrary.h"
#include "ControlPanel.h"
#include "LoggerSession.h"
#include "LoggingEstimate.h"
#include "MemoryRate.h"
#include "NamedWidget.h"
#include "ParameterDescription.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "StatusPollTimer.h"
#include "WindowPlacement.h"
#include "frmMessage.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>

frmDetails::frmDetails(ControlPanel* panel)
    : ActivityWindow(panel), pnlSummary(BuildSummaryPanel(this)),
      lblReference(NamedLabel("lblReference", "The estimated logger life is", this)),
      lblLife(NamedLabel("lblLife", {}, this)), lblLimitedBy(NamedLabel("lblLimitedBy", {}, this)),
      Label2(NamedLabel("Label2",
                        "Please note that this is indication only and does not take into account "
                        "the effect of any trigger or tape settings",
                        this)),
      Label3(NamedLabel("Label3",
                        "that may reduce logging time.  Nor does it consider timer settings that "
                        "may increase logging time.",
                        this)),
      cmdClose(NamedButton("cmdClose", "Close", this)), m_pollTimer(pollStatusWhileShown()) {
    setObjectName("frmDetails");
    setWindowTitle("Current Logging Settings...");
    setWindowModality(Qt::ApplicationModal);
    m_pollTimer->timer().setObjectName("tmrSummary");
    buildControls();
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::hide);
    registerRequest(Request::ShowDetails, [this](qint16) { Display(); });
    hideOnUnlink();
    disablePanelWhileShown();
}

void frmDetails::buildControls() {
    auto* life = new QHBoxLayout;
    life->addWidget(lblReference);
    life->addWidget(lblLife);
    life->addStretch();
    life->addWidget(lblLimitedBy);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pnlSummary);
    layout->addLayout(life);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(cmdClose, 0, Qt::AlignHCenter);
    cmdClose->setAccessibleName(cmdClose->text());
    cmdClose->setDefault(true);
}

QTimer& frmDetails::tmrSummary() {
    return m_pollTimer->timer();
}

void frmDetails::Display() {
    const qint16 count = Logger::GetBuffers();
    // Without a count there is no last buffer to ask for: buffer -1 or -2
    // would go out as a byte the logger reads as some other buffer.
    if (count < 1) {
        ShowMessage("There are currently no buffers", 0, "Orvane Instruments");
        return;
    }
    const BufferRecord record = ProgramRead(qint16(count - 1));
    DescribeParameters(record, pnlSummary);

    const LoggingEstimate estimate =
        EstimateLoggingTime(MemoryRateOf(record.interval, record.leqMode, record.leqLength),
                            Session().freeMemory, Session().battery);
    lblLife->setText(LifeText(estimate));
    lblLimitedBy->setText(LimitText(estimate));
    adjustSize();
    PlaceBottomAligned(this, controlPanel()->panelWindow());
    ParkWindow([this] { show(); });
}
