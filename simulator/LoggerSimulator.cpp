#include "LoggerSimulator.h"

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

timespec toTimespec(std::chrono::steady_clock::duration d) {
    if (d < std::chrono::steady_clock::duration::zero())
        d = std::chrono::steady_clock::duration::zero();
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

} // namespace

LoggerSimulator::LoggerSimulator() = default;

LoggerSimulator::~LoggerSimulator() {
    stop();
}

bool LoggerSimulator::start(std::string* error) {
    std::unique_lock lock(mutex_);
    if (running_)
        return true;
    if (!pty_.open(error))
        return false;
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) {
        if (error)
            *error = "eventfd failed";
        pty_.close();
        return false;
    }
    devicePath_ = pty_.devicePath();
    hostBytes_.clear();
    framer_.reset();
    modem_.hangUp();
    writer_.clear();
    pendingReplies_.clear();
    stopping_ = false;
    running_ = true;
    thread_ = std::thread(&LoggerSimulator::serve, this);
    return true;
}

void LoggerSimulator::stop() {
    {
        std::lock_guard lock(mutex_);
        if (!running_)
            return;
        stopping_ = true;
        signalThread();
    }
    thread_.join();
    std::lock_guard lock(mutex_);
    closePortLocked();
    ::close(wakeFd_);
    wakeFd_ = -1;
    running_ = false;
}

std::string LoggerSimulator::devicePath() const {
    std::lock_guard lock(mutex_);
    return devicePath_;
}

void LoggerSimulator::setBaudRate(int baud) {
    std::lock_guard lock(mutex_);
    writer_.setBaudRate(baud);
}

int LoggerSimulator::baudRate() const {
    std::lock_guard lock(mutex_);
    return writer_.baudRate();
}

void LoggerSimulator::setLatencyMs(int ms) {
    std::lock_guard lock(mutex_);
    latency_ = std::chrono::milliseconds(std::max(0, ms));
}

void LoggerSimulator::setModemMode(bool on) {
    std::lock_guard lock(mutex_);
    modemMode_ = on;
    modem_.hangUp();
    signalThread();
}

void LoggerSimulator::setDialOutcome(const std::string& number, DialOutcome outcome) {
    std::lock_guard lock(mutex_);
    modem_.setDialOutcome(number, outcome);
}

void LoggerSimulator::setDefaultDialOutcome(DialOutcome outcome) {
    std::lock_guard lock(mutex_);
    modem_.setDefaultDialOutcome(outcome);
}

void LoggerSimulator::setConnectDelayMs(int ms) {
    std::lock_guard lock(mutex_);
    modem_.setConnectDelay(std::chrono::milliseconds(std::max(0, ms)));
}

void LoggerSimulator::setFault(Fault fault, int param) {
    std::unique_lock lock(mutex_);
    faults_.set(fault, param);
    signalThread(); // a stall starts or ends with the next poll
    if (!faults_.portGone() || !running_)
        return;
    // The serving thread owns the descriptors; wait until it has let go of them.
    portClosed_.wait_for(lock, std::chrono::seconds(2), [this] { return !pty_.isOpen(); });
}

void LoggerSimulator::setCommandFault(const sim::CommandFault& fault) {
    std::lock_guard lock(mutex_);
    faults_.setCommandFault(fault);
}

LoggerSimulator::Fault LoggerSimulator::fault() const {
    std::lock_guard lock(mutex_);
    return faults_.fault();
}

void LoggerSimulator::wake() {
    std::lock_guard lock(mutex_);
    if (faults_.fault() == Fault::PoweredDown)
        faults_.set(Fault::None, 0);
}

std::string LoggerSimulator::hostBytes() const {
    std::lock_guard lock(mutex_);
    return hostBytes_;
}

void LoggerSimulator::clearHostBytes() {
    std::lock_guard lock(mutex_);
    hostBytes_.clear();
}

void LoggerSimulator::signalThread() {
    if (wakeFd_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
}

void LoggerSimulator::closePortLocked() {
    pty_.close();
    portClosed_.notify_all();
}

void LoggerSimulator::serve() {
    std::unique_lock lock(mutex_);
    while (!stopping_)
        serveOnce(lock);
}

void LoggerSimulator::serveOnce(std::unique_lock<std::mutex>& lock) {
    const Clock::time_point now = Clock::now();
    if (faults_.portGone() && pty_.isOpen())
        closePortLocked();

    std::optional<Clock::time_point> deadline;
    auto consider = [&deadline](std::optional<Clock::time_point> t) {
        if (t && (!deadline || *t < *deadline))
            deadline = t;
    };
    if (pty_.isOpen()) {
        framer_.expire(now);
        if (modemMode_)
            transmit(modem_.poll(now), now + latency_);
        if (!writerBlocked_)
            writerBlocked_ = !writer_.writeDue(pty_.masterFd(), now);
        consider(framer_.deadline());
        if (modemMode_)
            consider(modem_.deadline());
        if (!writerBlocked_)
            consider(writer_.nextDue());
    }

    pollfd fds[3] = {{wakeFd_, POLLIN, 0}, {-1, 0, 0}, {-1, 0, 0}};
    nfds_t count = 1;
    if (pty_.isOpen()) {
        const short in = faults_.reads() ? POLLIN : 0;
        fds[1] = {pty_.masterFd(), static_cast<short>(in | (writerBlocked_ ? POLLOUT : 0)), 0};
        fds[2] = {pty_.clientWatchFd(), POLLIN, 0};
        count = 3;
    }
    lock.unlock();
    timespec timeout{};
    if (deadline)
        timeout = toTimespec(*deadline - Clock::now());
    const int ready = ::ppoll(fds, count, deadline ? &timeout : nullptr, nullptr);
    lock.lock();
    if (ready <= 0)
        return;

    if (fds[0].revents & POLLIN) {
        std::uint64_t value = 0;
        [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &value, sizeof value);
    }
    if (count < 3 || !pty_.isOpen())
        return;
    if (fds[2].revents & POLLIN) {
        const sim::Pty::ClientEvents events = pty_.takeClientEvents();
        if (events.dropped)
            lineDropped(!events.arrived);
    }
    if (fds[1].revents & POLLOUT)
        writerBlocked_ = false;
    if (fds[1].revents & POLLIN)
        receive(Clock::now());
    else if (fds[1].revents & (POLLHUP | POLLERR)) {
        // Not expected while we hold the slave side, but never spin on it.
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lock.lock();
    }
}

void LoggerSimulator::recordHostBytes(const char* data, std::size_t size) {
    // A simulator left running for days keeps the recent past only.
    if (hostBytes_.size() + size > kHostBytesKept)
        hostBytes_.erase(0, hostBytes_.size() / 2);
    hostBytes_.append(data, size);
}

void LoggerSimulator::receive(Clock::time_point now) {
    unsigned char buffer[4096];
    const ssize_t n = ::read(pty_.masterFd(), buffer, sizeof buffer);
    if (n <= 0)
        return;
    recordHostBytes(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
    if (!hostRateMatches())
        return;
    for (ssize_t i = 0; i < n; ++i)
        handleByte(buffer[i], now);
}

// A pty moves bytes whatever speed either end has set, so the mismatch a real
// line would garble is looked up on the host's end of the pty.
bool LoggerSimulator::hostRateMatches() const {
    const int rate = writer_.baudRate();
    return rate == 0 || pty_.clientLineRate() == rate;
}

void LoggerSimulator::handleByte(unsigned char byte, Clock::time_point now) {
    if (modemMode_) {
        const sim::ModemFrontEnd::Result result = modem_.feed(static_cast<char>(byte), now);
        transmit(result.toHost, now + latency_);
        if (!result.passToLogger)
            return;
    }
    if (!faults_.hears())
        return;
    for (const sim::Framer::Event& event : framer_.feed(byte, now))
        handleFrameEvent(event, now);
}

void LoggerSimulator::handleFrameEvent(const sim::Framer::Event& event, Clock::time_point now) {
    switch (event.kind) {
    case sim::Framer::Event::SendReady:
        pendingReplies_.clear(); // a new command makes the old replies stale
        faults_.commandArrived(event.letter);
        if (faults_.transmits())
            transmit(std::string(1, sim::LoggerCommands::kReadyCharacter), now + latency_);
        return;
    case sim::Framer::Event::Command:
        faults_.commandArrived(event.letter);
        replyLetter_ = event.letter;
        if (const auto standIn = faults_.standIn(event.letter, event.blocks)) {
            pendingReplies_.clear();
            if (!standIn->empty())
                pendingReplies_.push_back(sim::Reply{*standIn, std::nullopt});
            return;
        }
        pendingReplies_ = commands_.run(event.letter, event.blocks);
        return;
    case sim::Framer::Event::ReplyRequest:
        sendReply(now);
        return;
    }
}

void LoggerSimulator::sendReply(Clock::time_point now) {
    if (pendingReplies_.empty())
        return;
    sim::Reply reply = std::move(pendingReplies_.front());
    pendingReplies_.pop_front();
    if (const auto shaped = faults_.shapeReply(replyLetter_, std::move(reply.bytes)))
        transmit(*shaped, now + latency_ + faults_.replyDelay());
    // The logger re-clocks once its acknowledgement has left, whatever the line did to it.
    if (reply.baudAfter)
        writer_.setBaudRate(*reply.baudAfter);
}

void LoggerSimulator::transmit(const std::string& bytes, Clock::time_point notBefore) {
    if (!bytes.empty() && pty_.isOpen())
        writer_.queue(bytes, notBefore);
}

void LoggerSimulator::lineDropped(bool discardInput) {
    // The host closed the port: a modem drops the call, the logger forgets any
    // half-received command, and nothing queued for the old link goes out.
    // What the old client sent last is not answered either, unless a new client
    // has opened the port meanwhile and its bytes may be among them.
    if (discardInput) {
        char buffer[4096];
        for (ssize_t n; (n = ::read(pty_.masterFd(), buffer, sizeof buffer)) > 0;)
            recordHostBytes(buffer, static_cast<std::size_t>(n));
    }
    modem_.hangUp();
    framer_.reset();
    writer_.clear();
    writerBlocked_ = false;
    pendingReplies_.clear();
    commands_.unlinked();
}
