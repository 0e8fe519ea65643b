#pragma once

#include "sim/Faults.h"
#include "sim/FlowLag.h"
#include "sim/GasTables.h"
#include "sim/ModbusRtu.h"
#include "sim/RegisterCodec.h"

#include <cstdint>
#include <mutex>

namespace gasmixer::sim {

// Holding registers of the controllers, by their first register.
enum FlowRegister : std::uint16_t {
    RegTotalizer = 4,          // F32, kg, read
    RegSetpoint = 6,           // F32, flow unit, read/write
    RegDeviceType = 35,        // S8, read
    RegTableInUse = 16697,     // U16, read/write
    RegTableShown = 24575,     // U16, which table 24608..24866 present; read/write
    RegFullScale = 24608,      // F32, read
    RegLongName = 24610,       // S50, read
    RegShortName = 24642,      // S8, read
    RegFlowUnit = 24646,       // S8, read
    RegTurnDown = 24866,       // U16, read
    RegTotalizerReset = 25472, // F32, write 0.0 to zero the totalizer
};

// One simulated mass flow controller. The service thread reads and writes
// its registers while another thread looks at its state; all of it is
// guarded by one mutex.
class FlowController {
public:
    FlowController(std::uint8_t address, ControllerModel model, TimePoint start);
    FlowController(const FlowController&) = delete;
    FlowController& operator=(const FlowController&) = delete;

    std::uint8_t Address() const { return address_; }

    ModbusException Read(std::uint16_t start, std::uint16_t count, Words& out, TimePoint now);
    ModbusException Write(std::uint16_t start, std::span<const std::uint16_t> words, TimePoint now);

    float Setpoint() const;
    double ActualFlow(TimePoint now = SimClock::now());  // flow unit
    double TotalizerKg(TimePoint now = SimClock::now());
    std::uint16_t TableInUse() const;
    std::uint16_t TableShown() const;

    FaultSwitch& Faults() { return faults_; }

private:
    const GasTable* FindTable(std::uint16_t number) const;
    void AdvanceTo(TimePoint now);  // mutex held
    Words ValueOf(FlowRegister reg) const;  // mutex held

    const std::uint8_t address_;
    const ControllerModel model_;
    FaultSwitch faults_;

    mutable std::mutex mutex_;
    const GasTable* inUse_;
    const GasTable* shown_;
    float setpoint_ = 0.0f;
    FlowLag flow_;
};

}  // namespace gasmixer::sim
