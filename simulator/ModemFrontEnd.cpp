#include "ModemFrontEnd.h"

#include <algorithm>
#include <cctype>

namespace sim {

namespace {

const std::string kOk = "\r\nOK\r\n";
const std::string kError = "\r\nERROR\r\n";
const std::string kConnect = "\r\nCONNECT 19200\r\n";
const std::string kBusy = "\r\nBUSY\r\n";
const std::string kNoCarrier = "\r\nNO CARRIER\r\n";
const std::string kRing = "\r\nRING\r\n";
const std::string kNoDialtone = "\r\nNO DIALTONE\r\n";
const std::string kTruncatedConnect = "\r\nCONN\r\n";

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// Dialling digits and the characters modems accept between them.
std::string dialledNumber(const std::string& rest) {
    std::string number;
    for (char c : rest) {
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '*' || c == '#' || c == '+')
            number += c;
    }
    return number;
}

} // namespace

void ModemFrontEnd::setDialOutcome(const std::string& number, DialOutcome outcome) {
    outcomes_[dialledNumber(number)] = outcome;
}

void ModemFrontEnd::hangUp() {
    state_ = State::Command;
    dialLines_.clear();
    echo_ = true;
    line_.clear();
    pluses_ = 0;
}

ModemFrontEnd::Result ModemFrontEnd::feed(char byte, Clock::time_point now) {
    Result result;
    switch (state_) {
    case State::Data:
        // "+++" counts only after a guard time of silence; the escape completes
        // when another guard time passes with nothing more (see poll()).
        if (byte == '+' && (pluses_ > 0 || now - lastDataByte_ >= kGuardTime) && pluses_ < 3) {
            ++pluses_;
            lastPlus_ = now;
        } else {
            pluses_ = 0;
        }
        lastDataByte_ = now;
        result.passToLogger = true;
        return result;
    case State::Dialling:
        // Any character aborts a dial, as on real modems.
        state_ = State::Command;
        dialLines_.clear();
        result.toHost = kNoCarrier;
        return result;
    case State::Command:
        break;
    }
    if (echo_)
        result.toHost += byte;
    if (byte == '\r') {
        const std::string line = line_;
        line_.clear();
        result.toHost += runCommandLine(line, now);
    } else if (byte == '\b' || byte == 0x7F) {
        if (!line_.empty())
            line_.pop_back();
    } else if (byte != '\n' && line_.size() < 256) {
        line_ += byte;
    }
    return result;
}

std::string ModemFrontEnd::runCommandLine(const std::string& line, Clock::time_point now) {
    const std::string command = upper(line);
    const auto at = command.find("AT");
    if (at == std::string::npos)
        return command.find_first_not_of(" ") == std::string::npos ? std::string() : kError;
    const std::string body = command.substr(at + 2);
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        const char arg = i + 1 < body.size() ? body[i + 1] : '0';
        switch (c) {
        case 'D':
            return dial(line.substr(at + 2 + i + 1), now);
        case 'E':
            echo_ = arg != '0';
            break;
        case 'Z':
            echo_ = true;
            break;
        case 'H':
            state_ = State::Command;
            break;
        default:
            break; // any other setting of an initialisation string is accepted
        }
    }
    return kOk;
}

std::string ModemFrontEnd::dial(const std::string& rest, Clock::time_point now) {
    const std::string number = dialledNumber(rest);
    const auto found = outcomes_.find(number);
    const DialOutcome outcome = found == outcomes_.end() ? defaultOutcome_ : found->second;
    const Clock::time_point connectAt = now + connectDelay_;
    dialLines_.clear();
    auto callComesUp = [&](std::string line) {
        state_ = State::Dialling;
        dialLines_.push_back({connectAt, std::move(line), true});
    };
    switch (outcome) {
    case DialOutcome::Connect:
        callComesUp(kConnect);
        return {};
    case DialOutcome::Ring:
        dialLines_.push_back({now + connectDelay_ / 3, kRing});
        dialLines_.push_back({now + connectDelay_ * 2 / 3, kRing});
        callComesUp(kConnect);
        return {};
    case DialOutcome::OkThenConnect:
        callComesUp(kConnect);
        return kOk;
    case DialOutcome::TruncatedConnect:
        callComesUp(kTruncatedConnect);
        return {};
    case DialOutcome::Busy:
        return kBusy;
    case DialOutcome::NoCarrier:
        return kNoCarrier;
    case DialOutcome::NoDialtone:
        return kNoDialtone;
    case DialOutcome::Error:
        return kError;
    case DialOutcome::Silent:
        return {};
    }
    return {};
}

std::optional<ModemFrontEnd::Clock::time_point> ModemFrontEnd::deadline() const {
    if (state_ == State::Dialling && !dialLines_.empty())
        return dialLines_.front().at;
    if (state_ == State::Data && pluses_ == 3)
        return lastPlus_ + kGuardTime;
    return std::nullopt;
}

std::string ModemFrontEnd::poll(Clock::time_point now) {
    std::string out;
    while (state_ == State::Dialling && !dialLines_.empty() && now >= dialLines_.front().at) {
        out += dialLines_.front().text;
        if (dialLines_.front().connects) {
            state_ = State::Data;
            lastDataByte_ = now;
            pluses_ = 0;
        }
        dialLines_.pop_front();
    }
    if (state_ == State::Data && pluses_ == 3 && now >= lastPlus_ + kGuardTime) {
        state_ = State::Command;
        pluses_ = 0;
        out += kOk;
    }
    return out;
}

} // namespace sim
