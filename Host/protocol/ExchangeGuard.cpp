#include "ExchangeGuard.h"

#include "RequestQueue.h"

#include <QTimer>

namespace {
int exchangeDepth = 0;
} // namespace

ExchangeScope::ExchangeScope() {
    ++exchangeDepth;
}

ExchangeScope::~ExchangeScope() {
    // Held requests start from the event loop, not from inside the caller
    // whose exchange just ended.
    if (--exchangeDepth == 0 && !QueueIsEmpty() && !QueueRunInProgress())
        QTimer::singleShot(0, [] { RunHeldRequests(); });
}

bool ExchangeInProgress() {
    return exchangeDepth > 0;
}
