#pragma once

#include "FaultInjector.h"
#include "ModemFrontEnd.h"

#include <optional>
#include <string>
#include <vector>

// The command line of qn7x-sim.
namespace sim {

using DialOutcome = ModemFrontEnd::DialOutcome;

// How the modem answers a dial of number, or of any number without a rule of
// its own when number is empty.
struct DialRule {
    std::string number;
    DialOutcome outcome = DialOutcome::Connect;
};

struct ProgramOptions {
    int baud = 0;
    int latencyMs = 0;
    bool modem = false;
    std::string link;
    Fault fault = Fault::None;
    int faultParam = 0;
    std::vector<DialRule> dialRules;
    bool fillMemory = false;
    bool help = false;
};

// Nothing, with a message in error, when an argument is not understood.
std::optional<ProgramOptions> parseProgramOptions(const std::vector<std::string>& args,
                                                  std::string* error);

// "silent", "wrong-echo", "StopMidTransfer", ... (case, "-" and "_" ignored).
std::optional<Fault> faultFromName(const std::string& name);
// "NAME" or "NAME:PARAM".
bool parseFaultSpec(const std::string& spec, Fault* fault, int* param);

// "ring", "no-dialtone", "OkThenConnect", ... (case, "-" and "_" ignored).
std::optional<DialOutcome> dialOutcomeFromName(const std::string& name);
// "OUTCOME" or "NUMBER=OUTCOME".
bool parseDialSpec(const std::string& spec, DialRule* rule);

// A whole decimal number in [low, high].
std::optional<int> parseNumber(const std::string& text, int low, int high);

extern const char* const kUsage;

} // namespace sim
