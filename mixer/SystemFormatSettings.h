#pragma once

#include "common/TextFormat.h"

namespace gasmixer {

// The user's locale as the shared formatter needs it: decimal and time
// separators and the short month names.
FormatSettings SystemFormatSettings();

}  // namespace gasmixer
