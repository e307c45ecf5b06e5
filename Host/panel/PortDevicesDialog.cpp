#include "PortDevicesDialog.h"

#include "HostSettings.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

PortDevicesDialog::PortDevicesDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("PortDevicesDialog");
    setWindowTitle("Port Devices");
    auto* layout = new QVBoxLayout(this);
    auto* explanation =
        new QLabel("Enter the device each port number opens, for example /dev/ttyUSB0 for a USB "
                   "serial adapter. Leave a port empty to use /dev/ttyS0 to /dev/ttyS3.",
                   this);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    auto* form = new QFormLayout;
    // Devices present now, as a hint: adapters are named by id under /dev/serial.
    QStringList present = QDir("/dev/serial/by-id").entryList(QDir::System | QDir::Files);
    for (int port = 1; port <= Ports; ++port) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString("txtDevice%1").arg(port));
        field->setPlaceholderText(QString("/dev/ttyS%1").arg(port - 1));
        field->setText(
            HostSettings::Read(HostSettings::Comms, HostSettings::Key::Device(port), QString()));
        if (!present.isEmpty())
            field->setToolTip("Adapters present: /dev/serial/by-id/" +
                              present.join(", /dev/serial/by-id/"));
        auto* label = new QLabel(QString("Port &%1:").arg(port), this);
        label->setBuddy(field);
        form->addRow(label, field);
        m_fields << field;
    }
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void PortDevicesDialog::accept() {
    for (int port = 1; port <= Ports; ++port) {
        const QString device = m_fields[port - 1]->text().trimmed();
        if (device.isEmpty())
            HostSettings::Remove(HostSettings::Comms, HostSettings::Key::Device(port));
        else
            HostSettings::Write(HostSettings::Comms, HostSettings::Key::Device(port), device);
    }
    QDialog::accept();
}
