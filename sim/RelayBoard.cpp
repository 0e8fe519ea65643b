#include "sim/RelayBoard.h"

#include "sim/ThermistorInput.h"

namespace gasmixer::sim {
namespace {

std::size_t RelayRequestLength(std::span<const std::uint8_t> prefix)
{
    if (prefix[0] != RelayStart) return 1;  // stray byte: dropped on its own
    if (prefix.size() < 2) return NeedMoreBytes;
    return prefix[1] == RelaySetValves ? 3 : 2;
}

}  // namespace

RelayBoard::RelayBoard(double waterTemperature) : count_(CountForTemperature(waterTemperature)) {}

void RelayBoard::SetWaterTemperature(double celsius)
{
    const std::uint16_t count = CountForTemperature(celsius);
    const std::lock_guard lock(mutex_);
    count_ = count;
}

void RelayBoard::SetAnalogCount(std::uint16_t count)
{
    const std::lock_guard lock(mutex_);
    count_ = count;
}

std::vector<ValveCommand> RelayBoard::ValveLog() const
{
    const std::lock_guard lock(mutex_);
    return valveLog_.Entries();
}

FrameLengthRule RelayBoard::RequestLength() const
{
    return &RelayRequestLength;
}

std::optional<Outgoing> RelayBoard::Answer(std::span<const std::uint8_t> request, TimePoint now)
{
    if (request.size() < 2) return std::nullopt;
    return AnswerUnder(
        faults_.TakeForExchange(), now, [&] { return Serve(request, now); },
        [&] {
            // The board has no refusal of its own: it acts, and its reply starts wrong.
            Bytes reply = Serve(request, now);
            if (!reply.empty()) reply.front() = static_cast<std::uint8_t>(~reply.front());
            return reply;
        });
}

Bytes RelayBoard::Serve(std::span<const std::uint8_t> request, TimePoint now)
{
    const std::lock_guard lock(mutex_);
    switch (request[1]) {
    case RelayLinkTest:
        return {RelayAck};
    case RelaySetValves:
        valveLog_.Append({request[2], now});
        return {RelayAck};
    case RelayAnalogRead:
        return {static_cast<std::uint8_t>(count_ >> 8), static_cast<std::uint8_t>(count_ & 0xFF)};
    default:
        return {};  // unknown commands are ignored
    }
}

}  // namespace gasmixer::sim
