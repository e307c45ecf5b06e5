#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Ways the logger can misbehave on the line, so that the host's handling of
// every kind of failure can be exercised.
namespace sim {

enum class Fault {
    None,
    Silent,          // receives and acts, but transmits nothing
    Late,            // every reply delayed by param milliseconds
    WrongEcho,       // echo settings answer with a different letter
    Corrupt,         // every param-th reply byte has its bits flipped
    DropByte,        // one byte of each reply is lost
    StopMidTransfer, // silent after param download blocks
    // The next two strike at once, or with a param after that many download
    // blocks, so that a transfer meets them halfway.
    PoweredDown,    // hears nothing and says nothing until woken
    Vanish,         // the port disappears
    Stalled,        // stops reading the line: what the host sends backs up
    NoVerdict,      // takes a system calibration's value but never gives its verdict
    HistogramStops, // answers the histogram's bins before bin param, then nothing
};

// One command that the logger misses or turns down, beside any fault above: a
// logger that loses a command on a noisy line, or refuses one it cannot do.
struct CommandFault {
    enum class Kind { None, Ignore, Refuse } kind = Kind::None;
    char letter = 0;
    int dataByte = -1; // only with this first data byte; -1: whatever it carries
    int times = 0;     // for this many arrivals, then no longer; 0: every time
};

class FaultInjector {
public:
    void set(Fault fault, int param);
    Fault fault() const { return fault_; }
    void setCommandFault(const CommandFault& fault) { commandFault_ = fault; }

    // Called with each whole command before the logger acts on it: what the
    // logger answers instead (nothing, or its refusal "?"), or nullopt when
    // it carries the command out as usual.
    std::optional<std::string> standIn(char letter, const std::vector<std::string>& blocks);

    // A powered-down logger does not even hear the host.
    bool hears() const { return fault_ != Fault::PoweredDown || !struck(); }
    // A stalled logger leaves the host's bytes in the line, as one that holds
    // off flow control does, until the fault is cleared.
    bool reads() const { return fault_ != Fault::Stalled; }
    // Ready characters and replies go out only while this holds.
    bool transmits() const;
    // The port has disappeared (Vanish, once it has struck).
    bool portGone() const { return fault_ == Fault::Vanish && struck(); }

    std::chrono::milliseconds replyDelay() const;

    // Called as a command arrives and as a reply to it is about to go out; the
    // reply comes back as the host will see it, or nothing at all.
    void commandArrived(char letter);
    std::optional<std::string> shapeReply(char letter, std::string reply);

private:
    // A fault that waits for a download block, until it gets there.
    bool waitsForBlock() const;
    bool struck() const { return !waitsForBlock() || struck_; }

    Fault fault_ = Fault::None;
    int param_ = 0;
    long bytesSent_ = 0;
    int blocksServed_ = 0;
    int binsServed_ = 0;
    bool struck_ = false;
    CommandFault commandFault_;
};

} // namespace sim
