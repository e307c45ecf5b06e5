#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <string>

// A Hayes modem in front of the logger, as the host meets it on a telephone
// link: command mode with echo until ATE0, OK for every AT command, ATDT dials
// with a per-number outcome, CONNECT switches to data mode, "+++" between guard
// times returns to command mode and ATH hangs up.
namespace sim {

class ModemFrontEnd {
public:
    using Clock = std::chrono::steady_clock;

    // What a dial gets: Connect after the connect delay; Ring, two RING lines
    // within the delay and then CONNECT; OkThenConnect, an OK line at once and
    // CONNECT after the delay; TruncatedConnect, a "CONN" line that lost its
    // tail on a noisy line, the call up all the same; Busy, NoCarrier,
    // NoDialtone and Error, that line at once and back to command mode;
    // Silent, nothing at all.
    enum class DialOutcome {
        Connect,
        Busy,
        NoCarrier,
        Silent,
        Ring,
        OkThenConnect,
        NoDialtone,
        Error,
        TruncatedConnect,
    };

    static constexpr auto kGuardTime = std::chrono::milliseconds(1000);

    struct Result {
        std::string toHost; // echo and result lines
        bool passToLogger = false;
    };

    void setDialOutcome(const std::string& number, DialOutcome outcome);
    // For every number without an outcome of its own (Connect at first).
    void setDefaultDialOutcome(DialOutcome outcome) { defaultOutcome_ = outcome; }
    void setConnectDelay(std::chrono::milliseconds delay) { connectDelay_ = delay; }

    Result feed(char byte, Clock::time_point now);
    // Result lines that fall due with time (CONNECT, the OK after an escape).
    std::string poll(Clock::time_point now);
    std::optional<Clock::time_point> deadline() const;

    bool dataMode() const { return state_ == State::Data; }
    // The line dropped (the host closed the port): the call ends.
    void hangUp();

private:
    enum class State { Command, Dialling, Data };

    // A result line that falls due while dialling; the call is up once a
    // connecting one has gone out.
    struct DialLine {
        Clock::time_point at;
        std::string text;
        bool connects = false;
    };

    std::string runCommandLine(const std::string& line, Clock::time_point now);
    std::string dial(const std::string& number, Clock::time_point now);

    State state_ = State::Command;
    bool echo_ = true;
    std::string line_;
    std::map<std::string, DialOutcome> outcomes_;
    DialOutcome defaultOutcome_ = DialOutcome::Connect;
    std::chrono::milliseconds connectDelay_{300};
    std::deque<DialLine> dialLines_;
    // Escape detection in data mode.
    Clock::time_point lastDataByte_{};
    int pluses_ = 0;
    Clock::time_point lastPlus_{};
};

} // namespace sim
