#include "sim/MfcLine.h"

#include "sim/ModbusServer.h"

namespace gasmixer::sim {

MfcLine::MfcLine(TimePoint start)
{
    controllers_.push_back(std::make_unique<FlowController>(1, GasAController(), start));
    controllers_.push_back(std::make_unique<FlowController>(2, GasBController(), start));
}

FlowController* MfcLine::Controller(std::uint8_t address)
{
    for (const auto& c : controllers_)
        if (c->Address() == address) return c.get();
    return nullptr;
}

FrameLengthRule MfcLine::RequestLength() const
{
    return &ModbusRequestLength;
}

std::optional<Outgoing> MfcLine::Answer(std::span<const std::uint8_t> request, TimePoint now)
{
    // A damaged frame, or one for another address, gets no answer on a real bus.
    if (!HasValidCrc(request)) return std::nullopt;
    FlowController* controller = Controller(request[0]);
    if (!controller) return std::nullopt;
    return AnswerUnder(
        controller->Faults().TakeForExchange(), now, [&] { return ServeRequest(*controller, request, now); },
        [&] { return ExceptionReply(request[0], request[1], ModbusException::DeviceFailure); });
}

}  // namespace gasmixer::sim
