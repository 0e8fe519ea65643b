#pragma once

#include <functional>

namespace gasmixer {

// The default system beep of the numeric fields. Window thread only.
void Beep();

// Replaces what Beep() does (tests count beeps); an empty handler restores
// the system beep.
void SetBeepHandler(std::function<void()> handler);

}  // namespace gasmixer
