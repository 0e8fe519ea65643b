#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace gasmixer {

// What the window's command line asks before any window exists, so that
// --help and --version work without a display.
// Answers --help and --version on out and gives the exit status; nothing for
// a command line that starts the window.
std::optional<int> AnswerCommandLine(const std::vector<std::string>& args, std::ostream& out);

}  // namespace gasmixer
