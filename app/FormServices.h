#pragma once

#include "app/OperatorDialogs.h"
#include "common/DateTime.h"
#include "common/WorkerTiming.h"
#include "instruments/PortListing.h"

namespace gasmixer {

// What the main window takes from outside, so that tests can stand in for
// the wall clock, the port listing, the modal boxes and the wetting
// worker's time.
struct FormServices {
    const Clock& clock;
    PortLister listPorts;
    OperatorDialogs& dialogs;
    WorkerTiming& wettingTiming = SystemWorkerTiming::Instance();  // the wetting worker's
};

}  // namespace gasmixer
