#pragma once

#include <optional>
#include <string>

namespace gasmixer {

// Why this user may not open a port, in words that say what to do about it;
// nothing when the port may be opened, or when it fails for another reason
// (absent, busy, not a terminal), which the exchange itself reports.
std::optional<std::string> PermissionProblem(const std::string& port);

}  // namespace gasmixer
