#pragma once

#include "common/DateTime.h"
#include "plot/MixtureSample.h"
#include "plot/MixtureTrace.h"
#include "program/ProgramSchedule.h"

#include <vector>

namespace gasmixer {

// A stretch of a program that applies no mixture: a flush, a bypass or a stop.
struct TProfileBand {
    TDateTime First = 0.0;
    TDateTime Last = 0.0;
    ProgramOperation Operation = ProgramOperation::Stop;
    int Step = 0;  // index of the written step
};

// One pass of a written step: a ramp's stairs together.
struct TProfileSpan {
    TDateTime First = 0.0;
    TDateTime Last = 0.0;
    int Step = 0;  // index of the written step
};

// A program drawn against clock time from its start: the planned ppm as a
// staircase (each stair of a ramp, every pass), broken where no mixture is
// applied; those stretches as bands; and where each step begins, in each pass.
struct TProgramProfile {
    std::vector<TPlotPoint> A;
    std::vector<TPlotPoint> H2O;
    std::vector<TProfileBand> Bands;
    std::vector<TProfileSpan> Spans;
    std::vector<TPlotMarker> Boundaries;  // where each span begins, named by the step's number
    TTimeExtent Extent;                   // the whole program, at least a minute
};

TProgramProfile ProfileOf(const ProgramSchedule& schedule, TDateTime start);

}  // namespace gasmixer
