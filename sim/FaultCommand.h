#pragma once

#include "sim/Faults.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace gasmixer::sim {

// The devices a fault command can name.
enum class FaultTarget { Mfc1, Mfc2, Relay };

// Set this fault (None clears) on these devices.
struct FaultCommand {
    std::vector<FaultTarget> Targets;
    Fault Setting;

    friend bool operator==(const FaultCommand&, const FaultCommand&) = default;
};

// A blank line or a comment: nothing to do.
struct NoCommand {
    friend bool operator==(const NoCommand&, const NoCommand&) = default;
};

// Why a line is not a command.
struct CommandError {
    std::string Reason;

    friend bool operator==(const CommandError&, const CommandError&) = default;
};

using ParsedCommand = std::variant<NoCommand, FaultCommand, CommandError>;

// One line of the simulator's command input:
//   fault DEVICE KIND   DEVICE: mfc1, mfc2, relay; KIND: silent, exception,
//                       truncated, badcrc, garbage, vanish, delayed MS, or
//                       noflow (controllers only)
//   clear DEVICE|all
// Words are separated by blanks; '#' starts a comment.
ParsedCommand ParseFaultCommand(std::string_view line);

// The command summary for --help.
extern const char* const FaultCommandHelp;

}  // namespace gasmixer::sim
