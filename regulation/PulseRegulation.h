#pragma once


#include "regulation/TickCadence.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One step of the pulse regulation of a gas whose flow lies below its
// controller's range: delivery is compared with what should have passed by
// now, and a pulse is sent while delivery is behind. The pulse lengthens by
// 10 ms for every tick behind and shortens by 10 ms for every tick on time or
// ahead, from 100 ms up to one tick.

namespace gasmixer {

inline constexpr std::uint32_t BasePulseMs = 100;
// A pulse of one tick at the pulse setpoint already delivers the most that
// tick could ask for; longer ones only hold the line past the next look at
// the totalizer, and a counter grown while a supply was empty would overdose
// when it returns. The counter stops where its pulse reaches this length.
inline constexpr std::uint32_t LongestPulseMs = ControlTickMs;
static_assert(LongestPulseMs >= BasePulseMs);
inline constexpr float PulseSetpointA = 0.035f;
inline constexpr float PulseSetpointB = 0.22f;

// The grams a pulsed gas may lag or lead by: one pulse of the longest length.
constexpr double PulseDoseGrams(float pulseSetpoint) { return pulseSetpoint * (LongestPulseMs / 60000.0); }

struct TPulseInput {
    char Gas = 'A';                  // the letter of the log lines
    double Delivered = 0.0;          // g since the reset, from the totalizer; NaN when unread
    double StartTime = 0.0;          // the reset, days on the monotonic clock
    double Now = 0.0;
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
