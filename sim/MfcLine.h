#pragma once

#include "sim/FlowController.h"
#include "sim/LineResponder.h"

#include <memory>
#include <vector>

namespace gasmixer::sim {

// The MFC line: a Modbus RTU bus with the two controllers at addresses 1 and 2.
class MfcLine final : public LineResponder {
public:
    explicit MfcLine(TimePoint start);

    // Null for an address no controller has.
    FlowController* Controller(std::uint8_t address);

    FrameLengthRule RequestLength() const override;
    std::optional<Outgoing> Answer(std::span<const std::uint8_t> request, TimePoint now) override;

private:
    std::vector<std::unique_ptr<FlowController>> controllers_;
};

}  // namespace gasmixer::sim
