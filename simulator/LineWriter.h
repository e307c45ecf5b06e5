#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>

// The logger's transmit side. A pseudo-terminal moves bytes at memory speed, so
// the line's speed is modelled here: at a set baud rate every byte takes ten bit
// times (start, eight data bits, stop) after the one before it. Nothing here
// blocks: the serving loop asks when the next byte is due and keeps reading the
// host in the meantime.
namespace sim {

class LineWriter {
public:
    using Clock = std::chrono::steady_clock;

    // 0 sends at memory speed. A new rate applies to bytes queued after the call,
    // so a reply queued before a rate change still goes out at the old rate.
    void setBaudRate(int baud);
    int baudRate() const { return baud_; }

    // Queues bytes that may leave no earlier than notBefore.
    void queue(const std::string& bytes, Clock::time_point notBefore);
    void clear();

    // When the next queued byte is due, if any.
    std::optional<Clock::time_point> nextDue() const;

    // Writes every byte that is due by now to fd. Returns false when the
    // descriptor would block (wait for it to become writable) or failed.
    bool writeDue(int fd, Clock::time_point now);

private:
    struct Byte {
        char value;
        Clock::time_point notBefore;
        Clock::duration byteTime;
    };

    static Clock::time_point startOf(const Byte& byte, Clock::time_point lineFree);

    std::deque<Byte> pending_;
    Clock::time_point lineFree_{}; // when the line has finished the last byte sent
    Clock::duration byteTime_{};
    int baud_ = 0;
};

} // namespace sim
