#include "instruments/SimulatorRegistry.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <signal.h>
#include <system_error>
#include <unistd.h>

namespace gasmixer {
namespace {

bool ProcessIsAlive(long pid)
{
    if (pid <= 0) return false;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

long ParsePid(const std::string& name)
{
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::strtol(name.c_str(), nullptr, 10);
}

}  // namespace

std::filesystem::path SimulatorRegistryDir()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::filesystem::path base = runtime && *runtime ? runtime : "/tmp";
    return base / ("gasmixer-sim-" + std::to_string(getuid()));
}

std::vector<std::string> ListSimulatorPorts()
{
    std::vector<std::pair<long, std::filesystem::path>> instances;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(SimulatorRegistryDir(), ec)) {
        const long pid = ParsePid(entry.path().filename().string());
        if (ProcessIsAlive(pid)) instances.emplace_back(pid, entry.path());
    }
    std::sort(instances.begin(), instances.end());

    std::vector<std::string> ports;
    for (const auto& [pid, dir] : instances) {
        for (const char* link : {SimulatorMfcLinkName, SimulatorRelayLinkName}) {
            const std::filesystem::path port = dir / link;
            if (std::filesystem::exists(port, ec)) ports.push_back(port.string());
        }
    }
    return ports;
}

void RemoveStaleSimulatorEntries()
{
    std::error_code ec;
    std::vector<std::filesystem::path> stale;
    for (const auto& entry : std::filesystem::directory_iterator(SimulatorRegistryDir(), ec)) {
        const long pid = ParsePid(entry.path().filename().string());
        if (pid > 0 && !ProcessIsAlive(pid)) stale.push_back(entry.path());
    }
    for (const auto& path : stale) std::filesystem::remove_all(path, ec);
}

}  // namespace gasmixer
