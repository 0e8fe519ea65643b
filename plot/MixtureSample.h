#pragma once

#include "common/DateTime.h"

namespace gasmixer {

enum class TMixtureField { APpm, H2OPpm };

// One stored row as the plot keeps it. NaN marks an empty cell.
struct TMixtureSample {
    TDateTime Time = 0.0;
    double APpm = 0.0;
    double H2OPpm = 0.0;

    double Value(TMixtureField field) const { return field == TMixtureField::APpm ? APpm : H2OPpm; }
};

// A point of a drawn line. A NaN value breaks the line there.
struct TPlotPoint {
    double Time = 0.0;
    double Value = 0.0;
};

}  // namespace gasmixer
