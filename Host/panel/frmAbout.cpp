#include "frmAbout.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString NotLinked = "Not Linked";

QLabel* NewLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent), lblProduct(NewLabel("lblProduct", "QN-7X Control Panel", this)),
      lblMaker(NewLabel("lblMaker", "Orvane Instruments", this)),
      lblVersionCaption(NewLabel("lblVersionCaption", "Version", this)),
      lblVersion(NewLabel("lblVersion", QString(), this)),
      lblMpVersionCaption(NewLabel("lblMpVersionCaption", "MP Version", this)),
      lblMpVersion(NewLabel("lblMpVersion", NotLinked, this)),
      lblDapVersionCaption(NewLabel("lblDapVersionCaption", "DAP Version", this)),
      lblDapVersion(NewLabel("lblDapVersion", NotLinked, this)),
      lblSerialNumberCaption(NewLabel("lblSerialNumberCaption", "Serial Number", this)),
      lblSerialNumber(NewLabel("lblSerialNumber", NotLinked, this)),
      lblBatteryCaption(NewLabel("lblBatteryCaption", "Logger Battery Voltage", this)),
      lblBattery(NewLabel("lblBattery", NotLinked, this)),
      lblMemoryCaption(NewLabel("lblMemoryCaption", "Logger Memory Available", this)),
      lblMemory(NewLabel("lblMemory", NotLinked, this)), cmdClose(new QPushButton("Close", this)) {
    setObjectName("frmAbout");
    setWindowTitle("About...");
    cmdClose->setObjectName("cmdClose");
    cmdClose->setDefault(true);
    QFont title = lblProduct->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.4);
    lblProduct->setFont(title);

    auto* details = new QFormLayout;
    details->addRow(lblVersionCaption, lblVersion);
    details->addRow(lblMpVersionCaption, lblMpVersion);
    details->addRow(lblDapVersionCaption, lblDapVersion);
    details->addRow(lblSerialNumberCaption, lblSerialNumber);
    details->addRow(lblBatteryCaption, lblBattery);
    details->addRow(lblMemoryCaption, lblMemory);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblProduct);
    layout->addWidget(lblMaker);
    layout->addLayout(details);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Close and the close box only hide: the window is kept for the whole run.
    connect(cmdClose, &QPushButton::clicked, this, &frmAbout::hide);
}

void frmAbout::ResetData() {
    for (QLabel* field : {lblMpVersion, lblDapVersion, lblSerialNumber, lblBattery, lblMemory})
        field->setText(NotLinked);
}

void frmAbout::showProgramVersion(const QString& version) {
    lblVersion->setText(version);
}

void frmAbout::showLoggerIdentity(const QString& serial, const QString& processor,
                                  const QString& measurement) {
    lblSerialNumber->setText(serial);
    lblMpVersion->setText(processor);
    lblDapVersion->setText(measurement);
}

void frmAbout::showBattery(const QString& volts) {
    lblBattery->setText(volts);
}

void frmAbout::showFreeMemory(const QString& kilobytes) {
    lblMemory->setText(kilobytes);
}
