#pragma once

#include <QtGlobal>

// Registers the request codes that the command library carries out itself:
// 3 Set frequency, 4 Set Time Weighting, 8 CloseLink, 26 reset, 27 switch
// buffers, 35 baud-rate change, 38 Set Range.
void RegisterCommandRequests();

// Request 35: tells the logger its new rate, then re-clocks the host's port.
void ChangeLinkBaudRate(qint32 baudRate);
