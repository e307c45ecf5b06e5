#include "ControlLine.h"

#include "LoggerSimulator.h"
#include "ProgramOptions.h"

#include <sstream>
#include <vector>

namespace sim {

namespace {

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

} // namespace

ControlResult applyControlLine(LoggerSimulator& simulator, const std::string& line) {
    const std::vector<std::string> w = words(line);
    ControlResult result;
    if (w.empty())
        return result;
    const std::string& verb = w[0];
    auto argument = [&](int low, int high) -> std::optional<int> {
        return w.size() == 2 ? parseNumber(w[1], low, high) : std::nullopt;
    };
    if (verb == "quit" && w.size() == 1) {
        result.quit = true;
    } else if (verb == "wake" && w.size() == 1) {
        simulator.wake();
    } else if (verb == "vanish" && w.size() == 1) {
        simulator.setFault(Fault::Vanish);
    } else if (verb == "wire" && w.size() == 1) {
        // What the host has sent, in hex, so a script can check its exchanges.
        static const char digits[] = "0123456789abcdef";
        std::string hex;
        for (const unsigned char byte : simulator.hostBytes()) {
            hex += digits[byte >> 4];
            hex += digits[byte & 15];
        }
        result.output = hex;
    } else if (verb == "overload" && w.size() == 1) {
        simulator.model().setOverload(true);
    } else if (verb == "baud") {
        if (const auto baud = argument(0, 1'000'000))
            simulator.setBaudRate(*baud);
        else
            result.error = "baud needs a rate in bits per second (0 = unpaced)";
    } else if (verb == "dial") {
        DialRule rule;
        if (w.size() == 2 && parseDialSpec(w[1], &rule)) {
            if (rule.number.empty())
                simulator.setDefaultDialOutcome(rule.outcome);
            else
                simulator.setDialOutcome(rule.number, rule.outcome);
        } else {
            result.error = "dial needs [NUMBER=]OUTCOME";
        }
    } else if (verb == "clockrate") {
        if (const auto factor = argument(1, 100'000))
            simulator.model().setClockRate(*factor);
        else
            result.error = "clockrate needs a factor, 1 (real time) to 100000";
    } else if (verb == "level") {
        if (const auto level = argument(0, 32767))
            simulator.model().setLevel(*level);
        else
            result.error = "level needs tenths of a decibel, 0 to 32767";
    } else if (verb == "fault" && (w.size() == 2 || w.size() == 3)) {
        const auto fault = faultFromName(w[1]);
        const auto param = w.size() == 3 ? parseNumber(w[2], 0, 1'000'000) : std::optional<int>(0);
        if (fault && param)
            simulator.setFault(*fault, *param);
        else
            result.error = "unknown fault or parameter: " + line;
    } else {
        result.error = "unknown control line: " + line;
    }
    return result;
}

} // namespace sim
