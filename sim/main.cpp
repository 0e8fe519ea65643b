// gasmixer-sim: the mixer's instruments without hardware, on two
// pseudo-terminals that the operator program finds in the simulator registry.

#include "common/Version.h"
#include "sim/FaultCommand.h"
#include "sim/SimulatorHost.h"
#include "sim/UniqueFd.h"

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

constexpr const char* Usage =
    "Usage: gasmixer-sim [--water-temp C] [--no-pacing] [--verbose]\n"
    "Simulates the two mass flow controllers (MFC line) and the relay board\n"
    "on two pseudo-terminals, prints their paths and runs until interrupted.\n"
    "\n"
    "  --water-temp C  bubbler water temperature in ºC (default 20.0)\n"
    "  --no-pacing     send replies at once instead of at the line's baud rate\n"
    "  --verbose       trace every frame on standard error\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n";

// After the fault commands' help.
constexpr const char* UsageEnd =
    "\n"
    "Signals:\n"
    "  SIGTERM or SIGINT ends the simulation and removes the terminals.\n"
    "\n"
    "Exit status:\n"
    "  0 after a signal; 1 when the terminals cannot be made; 2 on a command line\n"
    "  it cannot follow.\n"
    "\n"
    "Files:\n"
    "  The two paths are printed on standard output, the MFC line first; the\n"
    "  operator program finds them itself through the simulator registry in\n"
    "  $XDG_RUNTIME_DIR/gasmixer-sim-UID. Nothing is written elsewhere.\n"
    "\n"
    "Examples:\n"
    "  gasmixer-sim --water-temp 22.5 --verbose 2>frames.log\n";

struct Arguments {
    gasmixer::sim::SimulatorOptions options;
    bool help = false;
    bool version = false;
};

void Apply(gasmixer::sim::SimulatorHost& host, const gasmixer::sim::FaultCommand& command)
{
    using gasmixer::sim::FaultTarget;
    for (FaultTarget target : command.Targets) {
        switch (target) {
        case FaultTarget::Mfc1: host.Mfc(1).SetFault(command.Setting, host.Now()); break;
        case FaultTarget::Mfc2: host.Mfc(2).SetFault(command.Setting, host.Now()); break;
        case FaultTarget::Relay: host.RelayBoard().Faults().Set(command.Setting); break;
        }
    }
}

// Follows the command lines that have arrived whole; false at end of input.
bool ReadCommands(gasmixer::sim::SimulatorHost& host, std::string& pending)
{
    char buffer[512];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0) return errno == EINTR || errno == EAGAIN;
    if (n == 0) return false;
    pending.append(buffer, static_cast<std::size_t>(n));
    for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        const auto parsed = gasmixer::sim::ParseFaultCommand(line);
        if (const auto* command = std::get_if<gasmixer::sim::FaultCommand>(&parsed)) {
            Apply(host, *command);
            if (command->Setting.kind == gasmixer::sim::FaultKind::None) host.ReconnectVanishedLines();
        }
        if (const auto* error = std::get_if<gasmixer::sim::CommandError>(&parsed))
            std::cerr << "gasmixer-sim: " << error->Reason << "; nothing changed\n";
    }
    return true;
}

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
        } else if (arg == "--version") {
            args.version = true;
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
        std::cout << Usage << gasmixer::sim::FaultCommandHelp << UsageEnd;
        return 0;
    }
    if (args.version) {
        std::cout << gasmixer::VersionText("gasmixer-sim");
        return 0;
    }

    // Blocked before the service thread starts, so that only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    // Started in the background of a terminal, a read fails instead of stopping us.
    std::signal(SIGTTIN, SIG_IGN);
    const gasmixer::sim::UniqueFd signals(signalfd(-1, &stopSignals, SFD_CLOEXEC));
    if (signals.Get() < 0) {
        std::cerr << "gasmixer-sim: signalfd: " << std::strerror(errno) << '\n';
        return 1;
    }

    args.options.announce = true;
    try {
        gasmixer::sim::SimulatorHost host(std::move(args.options));
        std::cout << "MFC line: " << host.MfcLinePath() << "\nRelay board: " << host.RelayBoardPath() << std::endl;
        // Commands are optional: without input, or after its end, only a signal stops.
        pollfd fds[2] = {{signals.Get(), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        std::string pending;
        while (!(fds[0].revents & POLLIN)) {
            if (poll(fds, 2, -1) < 0 && errno != EINTR) throw std::runtime_error(std::strerror(errno));
            if (fds[1].revents & POLLNVAL) fds[1].fd = -1;
            if ((fds[1].revents & (POLLIN | POLLHUP | POLLERR)) && !ReadCommands(host, pending)) fds[1].fd = -1;
        }
        host.Stop();
    } catch (const std::exception& e) {
        std::cerr << "gasmixer-sim: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
