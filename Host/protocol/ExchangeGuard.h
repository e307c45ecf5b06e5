#pragma once

// An exchange is on the wire from the first byte of a transaction to its last
// reply, or for the whole of an operation outside the request queue (linking,
// the unlinked reset, the close at exit). Handlers that the event loop runs
// meanwhile must not start another one: requests posted then are held and run
// once the outermost exchange has ended.

bool ExchangeInProgress();

class ExchangeScope {
public:
    ExchangeScope();
    ~ExchangeScope();
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;
};
