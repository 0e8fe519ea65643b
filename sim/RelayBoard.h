#pragma once

#include "sim/Faults.h"
#include "sim/LineResponder.h"
#include "sim/RecentLog.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace gasmixer::sim {

// Frames of the relay board: 254, a command and, for the valves, a mask.
inline constexpr std::uint8_t RelayStart = 254;
inline constexpr std::uint8_t RelayLinkTest = 33;
inline constexpr std::uint8_t RelaySetValves = 40;
inline constexpr std::uint8_t RelayAnalogRead = 158;
inline constexpr std::uint8_t RelayAck = 85;  // the reply to the link test and to a valve command

struct ValveCommand {
    std::uint8_t mask = 0;  // bit 0 = V1 ... bit 5 = V6, set = open
    TimePoint received;
};

// The relay board with the six valve relays and the bubbler thermistor on its
// analog input. Another thread sets the water temperature and reads the
// valve log while the service thread answers.
class RelayBoard final : public LineResponder {
public:
    explicit RelayBoard(double waterTemperature = 20.0);

    void SetWaterTemperature(double celsius);
    // What the analog input answers from now on, whatever the water does.
    void SetAnalogCount(std::uint16_t count);
    std::vector<ValveCommand> ValveLog() const;  // the latest, in the order received

    FaultSwitch& Faults() { return faults_; }

    FrameLengthRule RequestLength() const override;
    std::optional<Outgoing> Answer(std::span<const std::uint8_t> request, TimePoint now) override;

private:
    Bytes Serve(std::span<const std::uint8_t> request, TimePoint now);

    FaultSwitch faults_;
    mutable std::mutex mutex_;
    std::uint16_t count_;  // what an analog read answers
    RecentLog<ValveCommand> valveLog_;
};

}  // namespace gasmixer::sim
