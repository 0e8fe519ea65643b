#pragma once

#include "instruments/VogtlinRegisters.h"
#include "sim/Faults.h"
#include "sim/FlowLag.h"
#include "sim/GasTables.h"
#include "sim/ModbusRtu.h"
#include "sim/RecentLog.h"
#include "sim/RegisterCodec.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace gasmixer::sim {

// Holding registers of the controllers, by their first register. The numbers
// are the program's own; what the device does behind them is below.
enum FlowRegister : std::uint16_t {
    RegTotalizer = RegisterNumber(TVogtlinRegister::Totalizer),            // F32, kg, read
    RegSetpoint = RegisterNumber(TVogtlinRegister::Setpoint),              // F32, read/write
    RegDeviceType = RegisterNumber(TVogtlinRegister::DeviceType),          // S8, read
    RegTableInUse = RegisterNumber(TVogtlinRegister::GasTableInUse),       // U16, read/write
    RegTableShown = RegisterNumber(TVogtlinRegister::GasTableSelector),    // U16, read/write
    RegFullScale = RegisterNumber(TVogtlinRegister::FullScale),            // F32, read
    RegLongName = RegisterNumber(TVogtlinRegister::GasLongName),           // S50, read
    RegShortName = RegisterNumber(TVogtlinRegister::GasShortName),         // S8, read
    RegFlowUnit = RegisterNumber(TVogtlinRegister::FlowUnit),              // S8, read
    RegTurnDown = RegisterNumber(TVogtlinRegister::TurnDown),              // U16, read
    RegTotalizerReset = RegisterNumber(TVogtlinRegister::TotalizerReset),  // F32, write 0.0
};

// A setpoint the controller accepted, and when.
struct SetpointWrite {
    float value = 0.0f;
    TimePoint received;
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
    std::vector<SetpointWrite> SetpointLog() const;  // the latest, in the order received
    double ActualFlow(TimePoint now = SimClock::now());  // flow unit
    double TotalizerKg(TimePoint now = SimClock::now());
    std::uint16_t TableInUse() const;
    std::uint16_t TableShown() const;

    FaultSwitch& Faults() { return faults_; }
    // Sets the fault, NoFlow included: from `now` on, an empty supply lets no
    // gas through whatever the setpoint, and its totalizer stands still.
    void SetFault(Fault fault, TimePoint now = SimClock::now());

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
    bool supplied_ = true;
    RecentLog<SetpointWrite> setpointLog_;
    FlowLag flow_;
};

}  // namespace gasmixer::sim
