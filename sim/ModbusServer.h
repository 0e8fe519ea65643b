#pragma once

#include "sim/FlowController.h"

#include <span>

namespace gasmixer::sim {

// The controller's reply to one request addressed to it (CRC already
// checked): the normal reply, or an exception reply for an unknown function,
// register or value.
Bytes ServeRequest(FlowController& controller, std::span<const std::uint8_t> request, TimePoint now);

}  // namespace gasmixer::sim
