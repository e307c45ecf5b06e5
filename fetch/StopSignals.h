#pragma once

// SIGINT, SIGTERM and SIGHUP ask the run to stop; it stops at its next
// exchange, wherever it is, and unlinks in order. A second SIGINT ends the
// program at once, for someone who will not wait. SIGPIPE is ignored, so that
// a closed standard output is a write error to report, not a death before the
// logger is unlinked.

// False when the handlers could not be set.
bool CatchStopSignals();

// True once a stop signal has come: cheap, and safe to ask between any two
// exchanges, the block loop's included.
bool StopSignalled();

// Readable once a stop signal has come, so that a wait in the event loop (a
// modem dial, a handshake pause) can end at once.
int StopSignalDescriptor();
