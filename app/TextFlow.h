#pragma once

#include <string>

namespace gasmixer {

// Turns lines into one flowing text: line feeds, then carriage returns
// become blanks, then each pair of blanks becomes one (a single pass, so
// longer runs only shrink).
std::string FlowLines(std::string text);

}  // namespace gasmixer
