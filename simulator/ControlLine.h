#pragma once

#include <optional>
#include <string>

class LoggerSimulator;

// One line of qn7x-sim's control channel on standard input:
//   fault NAME [PARAM] | wake | vanish | baud N | dial [NUMBER=]OUTCOME |
//   level TENTHS | clockrate FACTOR | overload | wire | quit
namespace sim {

struct ControlResult {
    bool quit = false;
    std::string error;                 // empty when the line was understood
    std::optional<std::string> output; // what the line asked to see, for standard output
};

ControlResult applyControlLine(LoggerSimulator& simulator, const std::string& line);

} // namespace sim
