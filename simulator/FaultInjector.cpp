#include "FaultInjector.h"

#include <algorithm>
#include <string_view>

namespace sim {

namespace {

// The settings whose reply is their own letter.
bool isEchoSetting(char letter) {
    return std::string_view("DRFWL").find(letter) != std::string_view::npos;
}

} // namespace

std::optional<std::string> FaultInjector::standIn(char letter,
                                                  const std::vector<std::string>& blocks) {
    CommandFault& f = commandFault_;
    if (f.kind == CommandFault::Kind::None || letter != f.letter)
        return std::nullopt;
    if (f.dataByte >= 0 && (blocks.empty() || blocks.front().empty() ||
                            static_cast<unsigned char>(blocks.front()[0]) != f.dataByte))
        return std::nullopt;
    const CommandFault::Kind kind = f.kind;
    if (f.times > 0 && --f.times == 0)
        f.kind = CommandFault::Kind::None;
    return kind == CommandFault::Kind::Refuse ? std::string(1, '?') : std::string();
}

void FaultInjector::set(Fault fault, int param) {
    fault_ = fault;
    param_ = std::max(0, param);
    bytesSent_ = 0;
    blocksServed_ = 0;
    struck_ = false;
}

bool FaultInjector::waitsForBlock() const {
    return fault_ == Fault::StopMidTransfer ||
           ((fault_ == Fault::PoweredDown || fault_ == Fault::Vanish) && param_ > 0);
}

bool FaultInjector::transmits() const {
    switch (fault_) {
    case Fault::Silent:
        return false;
    case Fault::StopMidTransfer:
    case Fault::PoweredDown:
    case Fault::Vanish:
        return !struck();
    default:
        return true;
    }
}

std::chrono::milliseconds FaultInjector::replyDelay() const {
    return std::chrono::milliseconds(fault_ == Fault::Late ? param_ : 0);
}

void FaultInjector::commandArrived(char letter) {
    if (letter == '#')
        blocksServed_ = 0;
    if (letter == 'x')
        binsServed_ = 0;
}

std::optional<std::string> FaultInjector::shapeReply(char letter, std::string reply) {
    if (letter == '$' && waitsForBlock()) {
        if (blocksServed_ >= param_)
            struck_ = true;
        ++blocksServed_;
    }
    if (!transmits())
        return std::nullopt;
    if (fault_ == Fault::NoVerdict && (letter == 'S' || letter == 't'))
        return std::nullopt;
    if (fault_ == Fault::HistogramStops && letter == 'x' && ++binsServed_ >= param_)
        return std::nullopt;
    switch (fault_) {
    case Fault::WrongEcho:
        if (isEchoSetting(letter) && reply.size() == 1 && reply[0] == letter)
            reply[0] = static_cast<char>(letter ^ 0x20); // the other case of the letter
        break;
    case Fault::Corrupt: {
        const long every = std::max(1, param_);
        for (char& c : reply) {
            if (++bytesSent_ % every == 0)
                c = static_cast<char>(~c);
        }
        break;
    }
    case Fault::DropByte:
        reply.erase(reply.size() / 2, 1);
        break;
    default:
        break;
    }
    if (reply.empty())
        return std::nullopt;
    return reply;
}

} // namespace sim
