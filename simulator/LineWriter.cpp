#include "LineWriter.h"

#include <algorithm>
#include <unistd.h>

namespace sim {

void LineWriter::setBaudRate(int baud) {
    baud_ = std::max(0, baud);
    byteTime_ = baud_ > 0 ? std::chrono::duration_cast<Clock::duration>(
                                std::chrono::nanoseconds(10'000'000'000LL / baud_))
                          : Clock::duration::zero();
}

void LineWriter::queue(const std::string& bytes, Clock::time_point notBefore) {
    for (char c : bytes)
        pending_.push_back({c, notBefore, byteTime_});
}

void LineWriter::clear() {
    pending_.clear();
}

// A byte leaves when it is due and the line has finished the one before; an
// idle line starts from when the byte was due, not from the last byte long ago.
LineWriter::Clock::time_point LineWriter::startOf(const Byte& byte, Clock::time_point lineFree) {
    return std::max(byte.notBefore, lineFree);
}

std::optional<LineWriter::Clock::time_point> LineWriter::nextDue() const {
    if (pending_.empty())
        return std::nullopt;
    return startOf(pending_.front(), lineFree_);
}

bool LineWriter::writeDue(int fd, Clock::time_point now) {
    std::string chunk;
    Clock::time_point free = lineFree_;
    std::size_t count = 0;
    for (const Byte& byte : pending_) {
        const Clock::time_point at = startOf(byte, free);
        if (at > now)
            break;
        chunk += byte.value;
        free = at + byte.byteTime;
        ++count;
    }
    if (chunk.empty())
        return true;
    const ssize_t written = ::write(fd, chunk.data(), chunk.size());
    if (written <= 0)
        return false; // full (EAGAIN): wait until the host reads
    // Account only for what the pty took; the rest waits for the next call.
    Clock::time_point accounted = lineFree_;
    for (ssize_t i = 0; i < written; ++i) {
        const Byte& byte = pending_.front();
        accounted = startOf(byte, accounted) + byte.byteTime;
        pending_.pop_front();
    }
    lineFree_ = accounted;
    return static_cast<std::size_t>(written) == count;
}

} // namespace sim
