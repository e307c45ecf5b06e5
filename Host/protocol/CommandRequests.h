#pragma once

#include <QtGlobal>

// Registers the request codes that the command library carries out itself:
// Set frequency, Set Time Weighting, CloseLink, reset, switch buffers and
// Set Range.
void RegisterCommandRequests();

// The baud-rate change: tells the logger its new rate, then re-clocks the
// host's port. Refused (nothing re-clocked) when the rate did not go out;
// PortLost when the port would not open again at the new rate.
enum class BaudChange { Refused, Changed, PortLost };
BaudChange ChangeLinkBaudRate(qint32 baudRate);
