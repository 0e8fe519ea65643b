#pragma once

#include <string_view>

namespace gasmixer {

// Operating mode of the mixer. The value names are what the record table's
// "Mode" column shows.
enum class TMixerState : int { Unknown = 0, Standby = 1, Flushing = 2, Dilution = 3, Bypass = 4 };

std::string_view MixerStateName(TMixerState state);

}  // namespace gasmixer
