#pragma once

#include <QDialog>
#include <QList>

class QLineEdit;

// Names the device behind each port number (settings "Comms"/"Device"+n), so
// that a USB adapter or a pseudo-terminal the system does not list can be
// used without editing files. An empty name means /dev/ttyS(n-1).
class PortDevicesDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int Ports = 4;

    explicit PortDevicesDialog(QWidget* parent = nullptr);
    QLineEdit* deviceField(int port) const { return m_fields.value(port - 1); }

    void accept() override;

private:
    QList<QLineEdit*> m_fields;
};
