#include "app/CommandLine.h"

#include "common/Version.h"

namespace gasmixer {
namespace {

constexpr const char* Usage =
    "Usage: gasmixer [--help] [--version] [Qt options]\n"
    "The operator window of the gas mixer: validates the relay board and the two\n"
    "mass flow controllers, plans a mixture of gas A in gas B with water, runs the\n"
    "mixer, records what it really produced and saves the table.\n"
    "\n"
    "  --help     show this text\n"
    "  --version  show the version\n"
    "The options of every Qt application (-platform, -style, ...) are accepted.\n"
    "\n"
    "Signals:\n"
    "  SIGTERM or SIGINT closes the window as its close button does: the mixer is\n"
    "  left with valves closed and setpoints 0.\n"
    "\n"
    "Exit status:\n"
    "  0 after the window is closed.\n"
    "\n"
    "Files:\n"
    "  Tables are saved where the operator chooses; in Dilution an hourly autosave\n"
    "  goes into the working folder; every stored row is also journalled in\n"
    "  ~/.local/state/gasmixer (or $XDG_STATE_HOME/gasmixer) and kept 30 days, and\n"
    "  a run that ended without saving its table is offered for saving at the next\n"
    "  start; the last set-up is remembered in ~/.config/gasmixer/gasmixer.conf (or\n"
    "  $XDG_CONFIG_HOME/gasmixer/gasmixer.conf).\n"
    "\n"
    "Examples:\n"
    "  gasmixer-sim & gasmixer\n";

}  // namespace

std::optional<int> AnswerCommandLine(const std::vector<std::string>& args, std::ostream& out)
{
    for (const std::string& arg : args) {
        if (arg == "--help") {
            out << Usage;
            return 0;
        }
        if (arg == "--version") {
            out << VersionText("gasmixer");
            return 0;
        }
    }
    // Everything else is Qt's (-platform, -style ...).
    return std::nullopt;
}

}  // namespace gasmixer
