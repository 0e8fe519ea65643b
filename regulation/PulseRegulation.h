#pragma once

#include "common/DateTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One step of the pulse regulation of a gas whose flow lies below its
// controller's range: delivery is compared with what should have passed by
// now, and a pulse is sent while delivery is behind. The pulse lengthens by
// 10 ms for every tick behind and shortens by 10 ms for every tick on time or
// ahead, down to 100 ms.

namespace gasmixer {

inline constexpr std::uint32_t BasePulseMs = 100;
inline constexpr float PulseSetpointA = 0.035f;
inline constexpr float PulseSetpointB = 0.22f;

struct TPulseInput {
    char Gas = 'A';                  // the letter of the log lines
    double Delivered = 0.0;          // g since the reset, from the totalizer; NaN when unread
    TDateTime StartTime = 0.0;       // the reset
    TDateTime Now = 0.0;
    double RequiredFlow = 0.0;       // g/min
    double Extra = 1.0;              // the lengthening counter
    std::int32_t PulseCount = 0;     // pulses of both gases since the plan
};

struct TPulseStep {
    // False when the totalizer gave no number: the counters stay as they
    // were and nothing is written to the controller.
    bool Decided = false;
    double Extra = 1.0;
    std::int32_t PulseCount = 0;
    // The pulse to send, in ms; nothing means the flow stays stopped.
    std::optional<std::uint32_t> PulseMs;
    std::vector<std::string> Log;  // lines for the device memo, in order
};

TPulseStep DecidePulse(const TPulseInput& in);

}  // namespace gasmixer
