#include "sim/InProcessInstruments.h"

#include <mutex>
#include <stdexcept>

namespace gasmixer::sim {

// One device's line: its answers, one request at a time, at the clock's now.
class InProcessInstruments::Line final : public InProcessLine {
public:
    Line(LineResponder& responder, std::function<TimePoint()> clock)
        : responder_(responder), clock_(std::move(clock))
    {
    }

    std::optional<std::vector<std::uint8_t>> Exchange(std::span<const std::uint8_t> request) override
    {
        const std::lock_guard lock(mutex_);
        std::optional<Outgoing> out = responder_.Answer(request, clock_());
        if (!out || out->bytes.empty()) return std::nullopt;
        return std::move(out->bytes);
    }

private:
    std::mutex mutex_;
    LineResponder& responder_;
    std::function<TimePoint()> clock_;
};

InProcessInstruments::InProcessInstruments(std::function<TimePoint()> clock, double waterTemperature)
    : mfcs_(clock()),
      relay_(waterTemperature),
      mfcLine_(std::make_shared<Line>(mfcs_, clock)),
      relayLine_(std::make_shared<Line>(relay_, clock)),
      mfcRegistration_(MfcPort, mfcLine_),
      relayRegistration_(RelayPort, relayLine_)
{
}

FlowController& InProcessInstruments::Mfc(int address)
{
    FlowController* controller = mfcs_.Controller(static_cast<std::uint8_t>(address));
    if (!controller) throw std::out_of_range("no controller at address " + std::to_string(address));
    return *controller;
}

sim::RelayBoard& InProcessInstruments::RelayBoard() { return relay_; }

}  // namespace gasmixer::sim
