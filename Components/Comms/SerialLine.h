#pragma once

// What QSerialPort does not offer on an open Linux serial descriptor.

// Raw 8-bit line: no echo, no translation, no software flow control, and
// HUPCL so that closing the port drops DTR (which ends a modem call).
void MakeLineRaw(int fd);

// Asks a USB serial adapter to drop its latency timer (ASYNC_LOW_LATENCY).
// Devices without the setting (a pseudo-terminal) are left as they are.
void RequestLowLatency(int fd);

// Lowers DTR (a modem hangs up); devices without modem lines are left alone.
void DropDtr(int fd);

// Bytes written to the driver but not yet sent on the line (0 when unknown).
int PendingOutput(int fd);

// Waits while the port's transmitter still holds bytes the driver queue has
// handed on. Only for an empty queue: without flow control that is a few
// character times.
void WaitForTransmitter(int fd);

// Whether the line has gone (hung up, unplugged, closed descriptor), as
// opposed to a full output queue, which fails a write in the same way.
bool LineHungUp(int fd);
