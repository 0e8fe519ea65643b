#pragma once

#include <string>

namespace gasmixer {

// One controller's totalizer as the program keeps it: grams, and times in
// days on the monotonic clock.
struct TTotalizer {
    double Value = 0.0;       // latest reading since the last reset, g
    double Time = 0.0;        // when Value was read
    double StartValue = 0.0;  // reading right after the reset, g
    double StartTime = 0.0;   // the reset, start of the current mixture
    std::string FlowUnit;
};

}  // namespace gasmixer
