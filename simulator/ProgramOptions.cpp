#include "ProgramOptions.h"

#include <array>
#include <cctype>
#include <charconv>
#include <utility>

namespace sim {

const char* const kUsage =
    "usage: qn7x-sim [--baud N] [--latency MS] [--modem] [--link PATH]\n"
    "                [--fault NAME[:PARAM]] [--dial [NUMBER=]OUTCOME]... [--fill-memory]\n"
    "Serves a QN-7x logger on a pseudo-terminal and prints its device path.\n"
    "--baud N: the logger's line rate; it paces the replies and the logger hears\n"
    "nothing from a host at another rate (0, the default: unpaced, any rate).\n"
    "Faults: none, silent, late, wrong-echo, corrupt, drop-byte, stop-mid-transfer,\n"
    "powered-down, vanish, stalled, no-verdict, histogram-stops. stop-mid-transfer,\n"
    "and powered-down and vanish with a PARAM, strike after PARAM download blocks;\n"
    "histogram-stops answers nothing from histogram bin PARAM on.\n"
    "Dial outcomes (--modem), for one number or every other: connect, busy,\n"
    "no-carrier, silent, ring, ok-then-connect, no-dialtone, error,\n"
    "truncated-connect.\n"
    "Control lines on standard input: fault NAME [PARAM], wake, vanish, baud N,\n"
    "dial [NUMBER=]OUTCOME, level TENTHS, clockrate FACTOR (the clock runs FACTOR\n"
    "times faster), overload, wire (the host's bytes so far, in hex), quit.\n";

namespace {

const std::array<std::pair<const char*, Fault>, 12> kFaultNames{{
    {"none", Fault::None},
    {"silent", Fault::Silent},
    {"late", Fault::Late},
    {"wrongecho", Fault::WrongEcho},
    {"corrupt", Fault::Corrupt},
    {"dropbyte", Fault::DropByte},
    {"stopmidtransfer", Fault::StopMidTransfer},
    {"powereddown", Fault::PoweredDown},
    {"vanish", Fault::Vanish},
    {"stalled", Fault::Stalled},
    {"noverdict", Fault::NoVerdict},
    {"histogramstops", Fault::HistogramStops},
}};

const std::array<std::pair<const char*, DialOutcome>, 9> kDialOutcomeNames{{
    {"connect", DialOutcome::Connect},
    {"busy", DialOutcome::Busy},
    {"nocarrier", DialOutcome::NoCarrier},
    {"silent", DialOutcome::Silent},
    {"ring", DialOutcome::Ring},
    {"okthenconnect", DialOutcome::OkThenConnect},
    {"nodialtone", DialOutcome::NoDialtone},
    {"error", DialOutcome::Error},
    {"truncatedconnect", DialOutcome::TruncatedConnect},
}};

// Lower case without "-" and "_": how names are compared.
std::string nameKey(const std::string& name) {
    std::string key;
    for (char c : name) {
        if (c != '-' && c != '_')
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

// Baud rates, milliseconds and tenths all fit comfortably below this.
constexpr int kLargest = 1'000'000;

} // namespace

std::optional<int> parseNumber(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<Fault> faultFromName(const std::string& name) {
    const std::string key = nameKey(name);
    for (const auto& [text, fault] : kFaultNames) {
        if (key == text)
            return fault;
    }
    return std::nullopt;
}

bool parseFaultSpec(const std::string& spec, Fault* fault, int* param) {
    const auto colon = spec.find(':');
    const auto found = faultFromName(spec.substr(0, colon));
    if (!found)
        return false;
    int value = 0;
    if (colon != std::string::npos) {
        const auto number = parseNumber(spec.substr(colon + 1), 0, kLargest);
        if (!number)
            return false;
        value = *number;
    }
    *fault = *found;
    *param = value;
    return true;
}

std::optional<DialOutcome> dialOutcomeFromName(const std::string& name) {
    const std::string key = nameKey(name);
    for (const auto& [text, outcome] : kDialOutcomeNames) {
        if (key == text)
            return outcome;
    }
    return std::nullopt;
}

bool parseDialSpec(const std::string& spec, DialRule* rule) {
    const auto equals = spec.find('=');
    const std::string number = equals == std::string::npos ? std::string() : spec.substr(0, equals);
    const auto outcome =
        dialOutcomeFromName(equals == std::string::npos ? spec : spec.substr(equals + 1));
    if (!outcome || (equals != std::string::npos && number.empty()))
        return false;
    *rule = DialRule{number, *outcome};
    return true;
}

std::optional<ProgramOptions> parseProgramOptions(const std::vector<std::string>& args,
                                                  std::string* error) {
    ProgramOptions options;
    auto fail = [error](const std::string& message) {
        if (error)
            *error = message;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        if (arg == "--modem") {
            options.modem = true;
        } else if (arg == "--fill-memory") {
            options.fillMemory = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--baud" || arg == "--latency" || arg == "--link" || arg == "--fault" ||
                   arg == "--dial") {
            const auto text = value();
            if (!text)
                return fail(arg + " needs a value");
            if (arg == "--link") {
                if (text->empty())
                    return fail("--link needs a path");
                options.link = *text;
            } else if (arg == "--fault") {
                if (!parseFaultSpec(*text, &options.fault, &options.faultParam))
                    return fail("unknown fault: " + *text);
            } else if (arg == "--dial") {
                DialRule rule;
                if (!parseDialSpec(*text, &rule))
                    return fail("unknown dial outcome: " + *text);
                options.dialRules.push_back(rule);
            } else {
                const auto number = parseNumber(*text, 0, kLargest);
                if (!number)
                    return fail(arg + " needs a whole number, not: " + *text);
                (arg == "--baud" ? options.baud : options.latencyMs) = *number;
            }
        } else {
            return fail("unknown argument: " + arg);
        }
    }
    return options;
}

} // namespace sim
