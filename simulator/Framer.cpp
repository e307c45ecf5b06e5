#include "Framer.h"

namespace sim {

namespace {

constexpr unsigned char kStartCommand = 1;
constexpr unsigned char kRequestReply = 2;
constexpr unsigned char kStartData = 3;

} // namespace

Framer::Framer(BlockSizes blockSizes) : blockSizes_(std::move(blockSizes)) {}

void Framer::reset() {
    state_ = State::Idle;
    blocks_.clear();
    sizes_.clear();
}

std::optional<Framer::Clock::time_point> Framer::deadline() const {
    // Waiting for a block needs no limit: byte 1 or byte 2 ends the wait. Inside
    // a block every byte is data, so only a pause can end it.
    if (state_ == State::InBlock)
        return lastByte_ + kDataPause;
    return std::nullopt;
}

void Framer::expire(Clock::time_point now) {
    if (const auto until = deadline(); until && now >= *until)
        reset();
}

std::vector<Framer::Event> Framer::feed(unsigned char byte, Clock::time_point now) {
    lastByte_ = now;
    switch (state_) {
    case State::InBlock:
        blocks_.back() += static_cast<char>(byte);
        if (blocks_.back().size() == static_cast<std::size_t>(sizes_[blocks_.size() - 1]))
            return blockDone();
        return {};
    case State::Letter: {
        if (byte == kStartCommand)
            return {};
        const auto sizes = blockSizes_(static_cast<char>(byte));
        if (!sizes) {
            reset();
            return {};
        }
        letter_ = static_cast<char>(byte);
        sizes_ = *sizes;
        blocks_.clear();
        if (sizes_.empty()) {
            state_ = State::Idle;
            return {Event{Event::Command, letter_, {}}};
        }
        state_ = State::AwaitBlock;
        return {Event{Event::SendReady, letter_, {}}};
    }
    case State::AwaitBlock:
        if (byte == kStartData) {
            blocks_.emplace_back();
            state_ = State::InBlock;
            return {};
        }
        if (byte == kStartCommand) {
            reset();
            state_ = State::Letter;
            return {};
        }
        if (byte == kRequestReply) // the host gave up on the data block
            reset();
        return {};
    case State::Idle:
        if (byte == kStartCommand)
            state_ = State::Letter;
        else if (byte == kRequestReply)
            return {Event{Event::ReplyRequest, 0, {}}};
        return {};
    }
    return {};
}

std::vector<Framer::Event> Framer::blockDone() {
    if (blocks_.size() < sizes_.size()) {
        state_ = State::AwaitBlock;
        return {Event{Event::SendReady, letter_, {}}};
    }
    Event command{Event::Command, letter_, std::move(blocks_)};
    reset();
    return {command};
}

} // namespace sim
