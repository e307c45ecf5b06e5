#include "frmResults.h"

#include "ControlPanel.h"
#include "LoggerSession.h"
#include "MemoryBlock.h"
#include "NamedWidget.h"
#include "RequestQueue.h"
#include "StatusPollTimer.h"
#include "WindowPlacement.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace {

QString Tenths(double value) {
    return QString::number(value, 'f', 1);
}

} // namespace

frmResults::frmResults(ControlPanel* panel)
    : ActivityWindow(panel), lblDateHeading(NamedLabel("lblDateHeading", "Date", this)),
      lblDate(NamedLabel("lblDate", {}, this)),
      lblTimeHeading(NamedLabel("lblTimeHeading", "Time", this)),
      lblTime(NamedLabel("lblTime", {}, this)),
      lblLeqHeading(NamedLabel("lblLeqHeading", "Leq", this)),
      lblLeq(NamedLabel("lblLeq", {}, this)),
      lblLmaxHeading(NamedLabel("lblLmaxHeading", "Lmax", this)),
      lblLmax(NamedLabel("lblLmax", {}, this)),
      lblLminHeading(NamedLabel("lblLminHeading", "Lmin", this)),
      lblLmin(NamedLabel("lblLmin", {}, this)),
      lblBatteryHeading(NamedLabel("lblBatteryHeading", "Battery", this)),
      lblBattery(NamedLabel("lblBattery", {}, this)),
      lblTemperatureHeading(NamedLabel("lblTemperatureHeading", "Temp.", this)),
      lblTemp(NamedLabel("lblTemp", {}, this)), lblOvLd(NamedLabel("lblOvLd", "OvLd", this)),
      lblOvlDValue(NamedLabel("lblOvlDValue", {}, this)),
      cmdClose(NamedButton("cmdClose", "Close", this)), m_pollTimer(pollStatusWhileShown()) {
    setObjectName("frmResults");
    setWindowTitle("The last available set of results...");
    setWindowModality(Qt::ApplicationModal);
    m_pollTimer->timer().setObjectName("tmrResults");
    for (int i = 0; i < PercentileCount; ++i) {
        lblLIndexHeading << NamedLabel(QString("lblLIndexHeading%1").arg(i), "L", this);
        lblLIndexData << NamedLabel(QString("lblLIndexData%1").arg(i), {}, this);
    }
    buildControls();
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::hide);
    hideOnUnlink();
    disablePanelWhileShown();
}

void frmResults::buildControls() {
    QList<QLabel*> headings{lblDateHeading, lblTimeHeading, lblLeqHeading, lblLmaxHeading};
    QList<QLabel*> values{lblDate, lblTime, lblLeq, lblLmax};
    headings << lblLIndexHeading << lblLminHeading << lblBatteryHeading << lblTemperatureHeading
             << lblOvLd;
    values << lblLIndexData << lblLmin << lblBattery << lblTemp << lblOvlDValue;
    // One column per quantity, the heading above its value, as the data file's
    // columns run.
    auto* grid = new QGridLayout;
    for (int column = 0; column < headings.size(); ++column) {
        grid->addWidget(headings[column], 0, column, Qt::AlignHCenter);
        grid->addWidget(values[column], 1, column, Qt::AlignHCenter);
        values[column]->setMinimumWidth(fontMetrics().horizontalAdvance("000.0"));
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(cmdClose, 0, Qt::AlignHCenter);
    cmdClose->setAccessibleName(cmdClose->text());
    cmdClose->setDefault(true);
}

QTimer& frmResults::tmrResults() {
    return m_pollTimer->timer();
}

void frmResults::showIndices() {
    // The record carries the levels only; which percentiles they are is
    // recorded with the buffer that holds them, the last one, which the main
    // window has read already: no further exchange on a slow modem link.
    const BufferRecord& record = Session().loggingRecord;
    const bool known = record.interval > 0 && record.percentileIndices.size() == PercentileCount;
    for (int i = 0; i < PercentileCount; ++i) {
        const QString caption =
            known ? "L" + QString::number(quint8(record.percentileIndices.at(i))) : QString("L?");
        lblLIndexHeading[i]->setText(caption);
    }
}

void frmResults::ShowResults(const QByteArray& record) {
    const DecodedBlock decoded = DecodeBlock(record, 0);
    const auto* results = std::get_if<StatisticalRecord>(&decoded);
    const StatisticalRecord shown = results ? *results : StatisticalRecord{};
    const bool dated = results && IsValidDateTime(shown.stamp);
    lblDate->setText(dated ? ShortDateText(shown.stamp) : QString());
    lblTime->setText(dated ? TimeText(shown.stamp) : QString());
    const auto level = [results](QLabel* label, double value) {
        label->setText(results ? Tenths(value) : QString());
    };
    level(lblLeq, shown.leq);
    level(lblLmax, shown.lmax);
    for (int i = 0; i < PercentileCount; ++i)
        level(lblLIndexData[i], shown.percentiles[size_t(i)]);
    level(lblLmin, shown.lmin);
    level(lblBattery, shown.battery);
    level(lblTemp, shown.temperature);
    lblOvlDValue->setText(!results ? QString() : shown.overload ? QString("Yes") : QString("No"));
    showIndices();
    adjustSize();
    PlaceBottomAligned(this, controlPanel()->panelWindow());
    ParkWindow([this] { show(); });
}
