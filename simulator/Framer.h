#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The logger's receive side of the command framing: byte 1 and a letter start a
// command; a command that takes data gets a ready character and then expects
// byte 3 and exactly its number of data bytes (some take more than one block);
// byte 2 asks for the next reply. Anything else outside a frame is line noise.
// A byte 1 always starts over, except inside a data block, whose bytes are
// taken as they come; a data block that stops arriving is given up after a
// pause between its bytes, so the next command is understood again.
namespace sim {

class Framer {
public:
    using Clock = std::chrono::steady_clock;

    // Sizes of the data blocks a letter takes (empty: none); nothing for a
    // letter the logger does not know.
    using BlockSizes = std::function<std::optional<std::vector<int>>(char letter)>;

    struct Event {
        enum Kind {
            SendReady,    // a data block may come now
            Command,      // a complete command with its data blocks
            ReplyRequest, // byte 2
        };
        Kind kind;
        char letter = 0;
        std::vector<std::string> blocks;
    };

    static constexpr auto kDataPause = std::chrono::milliseconds(1000);

    explicit Framer(BlockSizes blockSizes);

    std::vector<Event> feed(unsigned char byte, Clock::time_point now);
    // Drops a data block that has stalled; call when the deadline has passed.
    void expire(Clock::time_point now);
    std::optional<Clock::time_point> deadline() const;
    void reset();

private:
    enum class State { Idle, Letter, AwaitBlock, InBlock };

    std::vector<Event> blockDone();

    BlockSizes blockSizes_;
    State state_ = State::Idle;
    char letter_ = 0;
    std::vector<int> sizes_;
    std::vector<std::string> blocks_;
    Clock::time_point lastByte_{};
};

} // namespace sim
