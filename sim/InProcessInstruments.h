#pragma once

#include "instruments/InProcessLine.h"
#include "sim/MfcLine.h"
#include "sim/RelayBoard.h"

#include <functional>
#include <memory>

namespace gasmixer::sim {

// The simulated instruments answered at once inside this process, on two
// port names of their own, for a run whose time a benchmark steps: no
// pseudo-terminal, no wire time. One set at a time, ended when no exchange
// runs.
class InProcessInstruments {
public:
    static constexpr const char* MfcPort = "in-process MFC line";
    static constexpr const char* RelayPort = "in-process relay board";

    explicit InProcessInstruments(std::function<TimePoint()> clock, double waterTemperature = 20.0);

    // Reach the devices only between exchanges.
    FlowController& Mfc(int address);
    sim::RelayBoard& RelayBoard();

private:
    class Line;

    MfcLine mfcs_;
    sim::RelayBoard relay_;
    std::shared_ptr<Line> mfcLine_;
    std::shared_ptr<Line> relayLine_;
    InProcessLineRegistration mfcRegistration_;
    InProcessLineRegistration relayRegistration_;
};

}  // namespace gasmixer::sim
