#pragma once

#include <QString>

// What the operator is told when a port's device exists but did not open:
// the device and the cause, with what to do about it.
QString PortOpenFailureText(const QString& device, qint16 error);
