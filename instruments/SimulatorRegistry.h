#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Where a running instrument simulator announces its ports, so that the port
// listing finds them without any setting by the operator:
//   <runtime dir>/gasmixer-sim-<uid>/<pid>/mfc-line    -> pseudo-terminal
//   <runtime dir>/gasmixer-sim-<uid>/<pid>/relay-board -> pseudo-terminal
// The runtime dir is $XDG_RUNTIME_DIR when set, /tmp otherwise. Entries of
// processes that no longer run are stale and ignored.

namespace gasmixer {

inline constexpr const char* SimulatorMfcLinkName = "mfc-line";
inline constexpr const char* SimulatorRelayLinkName = "relay-board";

std::filesystem::path SimulatorRegistryDir();

// Absolute paths of the announced ports of live simulators, ordered by
// process id, then MFC line before relay board.
std::vector<std::string> ListSimulatorPorts();

// Deletes the entries of simulators that no longer run.
void RemoveStaleSimulatorEntries();

}  // namespace gasmixer
