#pragma once

#include "sim/Faults.h"
#include "sim/Framer.h"

#include <optional>
#include <span>

namespace gasmixer::sim {

// What listens on one serial line: how its requests are delimited and how
// they are answered. Called from the service thread only.
class LineResponder {
public:
    virtual ~LineResponder() = default;
    virtual FrameLengthRule RequestLength() const = 0;
    // Nothing when the line stays quiet.
    virtual std::optional<Outgoing> Answer(std::span<const std::uint8_t> request, TimePoint now) = 0;
};

}  // namespace gasmixer::sim
