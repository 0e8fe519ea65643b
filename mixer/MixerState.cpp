#include "mixer/MixerState.h"

namespace gasmixer {

std::string_view MixerStateName(TMixerState state)
{
    switch (state) {
    case TMixerState::Unknown: return "Unknown";
    case TMixerState::Standby: return "Standby";
    case TMixerState::Flushing: return "Flushing";
    case TMixerState::Dilution: return "Dilution";
    case TMixerState::Bypass: return "Bypass";
    }
    return "Unknown";
}

}  // namespace gasmixer
