// gasmixer-sim: the mixer's instruments without hardware, on two
// pseudo-terminals that the operator program finds in the simulator registry.

#include "sim/SimulatorHost.h"

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string_view>

namespace {

constexpr const char* Usage =
    "Usage: gasmixer-sim [--water-temp C] [--no-pacing] [--verbose]\n"
    "Simulates the two mass flow controllers (MFC line) and the relay board\n"
    "on two pseudo-terminals, prints their paths and runs until interrupted.\n"
    "\n"
    "  --water-temp C  bubbler water temperature in ºC (default 20.0)\n"
    "  --no-pacing     send replies at once instead of at the line's baud rate\n"
    "  --verbose       trace every frame on standard error\n"
    "  --help          show this text\n";

struct Arguments {
    gasmixer::sim::SimulatorOptions options;
    bool help = false;
};

bool ParseTemperature(const char* text, double& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return errno == 0 && end != text && *end == '\0' && std::isfinite(value);
}

// Returns false, after saying why, for a command line it cannot follow.
bool ParseArguments(int argc, char** argv, Arguments& args)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            args.help = true;
        } else if (arg == "--no-pacing") {
            args.options.pacing = false;
        } else if (arg == "--verbose") {
            args.options.trace = [](std::string_view line) { std::cerr << line << '\n'; };
        } else if (arg == "--water-temp") {
            if (i + 1 >= argc || !ParseTemperature(argv[++i], args.options.waterTemperature)) {
                std::cerr << "gasmixer-sim: --water-temp needs a temperature in ºC\n";
                return false;
            }
        } else {
            std::cerr << "gasmixer-sim: unknown option " << arg << "\n" << Usage;
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Arguments args;
    if (!ParseArguments(argc, argv, args)) return 2;
    if (args.help) {
        std::cout << Usage;
        return 0;
    }

    // Blocked before the service thread starts, so that only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    args.options.announce = true;
    try {
        gasmixer::sim::SimulatorHost host(std::move(args.options));
        std::cout << "MFC line: " << host.MfcLinePath() << "\nRelay board: " << host.RelayBoardPath() << std::endl;
        int signal = 0;
        while (sigwait(&stopSignals, &signal) != 0) {
        }
        host.Stop();
    } catch (const std::exception& e) {
        std::cerr << "gasmixer-sim: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
