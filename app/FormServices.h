#pragma once

#include "app/OperatorDialogs.h"
#include "common/DateTime.h"
#include "common/Pause.h"
#include "common/WorkerTiming.h"
#include "instruments/PortListing.h"
#include "regulation/WettingDrawing.h"

#include <cstdint>
#include <functional>

namespace gasmixer {

// What the main window takes from outside, so that tests can stand in for
// the wall clock, the port listing, the modal boxes and the wetting
// worker's time.
struct FormServices {
    const Clock& clock;
    PortLister listPorts;
    OperatorDialogs& dialogs;
    // The long waits of the control tick: the flush steps and the pulse
    // lengths. The instruments' own short pauses stay real.
    std::function<void(std::uint32_t ms)> sleep = Pause;
    // A uniform integer from 1 to 99: the schematic's wet/dry drawing.
    std::function<int()> drawPercent = UniformPercentDraw{};
    WorkerTiming& wettingTiming = SystemWorkerTiming::Instance();  // the wetting worker's
};

}  // namespace gasmixer
