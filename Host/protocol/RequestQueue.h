#pragma once

#include <QString>
#include <functional>

// The one program-wide queue that serialises all logger work. Windows post a
// request (a code and one 16-bit argument); one dispatch run performs them in
// order. A post made while a run is in progress only appends, so handlers that
// fire during a wait never start a second exchange.

constexpr int QueueCapacity = 30;

using RequestAction = std::function<void(qint16 argument)>;

// The table from request code to action. Windows register the codes they own;
// a code with no action is taken from the queue and ignored.
void RegisterRequest(qint16 code, RequestAction action);
// True once a window has registered an action for the code: a control whose
// request nothing would carry out stays disabled.
bool RequestIsRegistered(qint16 code);

// A post made while an exchange runs outside the queue (ExchangeGuard.h) is
// held until that exchange ends.
void PostRequest(qint16 code, qint16 argument = 0);
// showModally is called when the current run ends (at once when idle).
void ParkWindow(std::function<void()> showModally);
bool QueueIsEmpty();
// Starts the run of requests held during an exchange, once nothing is on the wire.
void RunHeldRequests();
// Position > 0: a dispatch run is in progress.
bool QueueRunInProgress();
void ResetQueue();
