#pragma once

#include "app/OperatorDialogs.h"
#include "common/DateTime.h"
#include "instruments/PortListing.h"

namespace gasmixer {

// What the main window takes from outside, so that tests can stand in for
// the wall clock, the port listing and the modal boxes.
struct FormServices {
    const Clock& clock;
    PortLister listPorts;
    OperatorDialogs& dialogs;
};

}  // namespace gasmixer
