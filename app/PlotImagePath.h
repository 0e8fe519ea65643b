#pragma once

#include "app/OperatorDialogs.h"

#include <optional>
#include <string>

namespace gasmixer {

// Asks where to save the mixture plot as a PNG image; an existing file is
// replaced only when the operator agrees. Nothing when cancelled.
std::optional<std::string> AskPlotImagePath(OperatorDialogs& dialogs);

}  // namespace gasmixer
