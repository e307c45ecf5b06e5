#pragma once

#include "FaultInjector.h"
#include "Framer.h"
#include "LineWriter.h"
#include "LoggerCommands.h"
#include "LoggerModel.h"
#include "ModemFrontEnd.h"
#include "Pty.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

// A QN-7x logger on a pseudo-terminal: the host opens devicePath() as its serial
// port and talks to the logger as it would over a cable or a modem. The logger
// is served by its own thread, so a host that blocks its thread in a polling
// receive still gets its answer. Every public call is thread-safe.
class LoggerSimulator {
public:
    using Fault = sim::Fault;
    using DialOutcome = sim::ModemFrontEnd::DialOutcome;

    LoggerSimulator();
    ~LoggerSimulator();
    LoggerSimulator(const LoggerSimulator&) = delete;
    LoggerSimulator& operator=(const LoggerSimulator&) = delete;

    bool start(std::string* error = nullptr);
    void stop();
    std::string devicePath() const;

    // The logger's line rate. 0 (the default) sends at memory speed and hears
    // the host at any rate. Otherwise every byte takes ten bit times, and bytes
    // from a host whose port is set to another rate are garbage to the logger:
    // it ignores them and so answers nothing. "U" changes the rate as the
    // logger does, once its acknowledgement has gone out.
    void setBaudRate(int baud);
    int baudRate() const;
    void setLatencyMs(int ms); // before every reply, as a USB adapter's latency timer

    void setModemMode(bool on);
    void setDialOutcome(const std::string& number, DialOutcome outcome);
    // For every number without an outcome of its own (Connect at first).
    void setDefaultDialOutcome(DialOutcome outcome);
    void setConnectDelayMs(int ms);

    void setFault(Fault fault, int param = 0);
    void setCommandFault(const sim::CommandFault& fault);
    Fault fault() const;
    void wake();

    // Every byte received from the host since start or clear (the most recent
    // 16 MiB in a very long run).
    std::string hostBytes() const;
    void clearHostBytes();

    LoggerModel& model() { return model_; }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kHostBytesKept = 16 << 20;

    void serve();
    void serveOnce(std::unique_lock<std::mutex>& lock);
    void receive(Clock::time_point now);
    bool hostRateMatches() const;
    void handleByte(unsigned char byte, Clock::time_point now);
    void handleFrameEvent(const sim::Framer::Event& event, Clock::time_point now);
    void sendReply(Clock::time_point now);
    void transmit(const std::string& bytes, Clock::time_point notBefore);
    void lineDropped(bool discardInput);
    void recordHostBytes(const char* data, std::size_t size);
    void closePortLocked();
    void signalThread();

    LoggerModel model_;
    sim::LoggerCommands commands_{model_};
    sim::Framer framer_{&sim::LoggerCommands::blockSizes};
    sim::ModemFrontEnd modem_;
    sim::LineWriter writer_;
    sim::FaultInjector faults_;
    sim::Pty pty_;

    mutable std::mutex mutex_;
    std::condition_variable portClosed_;
    std::thread thread_;
    int wakeFd_ = -1;
    bool running_ = false;
    bool stopping_ = false;
    bool writerBlocked_ = false;
    bool modemMode_ = false;
    std::chrono::milliseconds latency_{0};
    std::string hostBytes_;
    std::string devicePath_;
    std::deque<sim::Reply> pendingReplies_;
    char replyLetter_ = 0;
};
