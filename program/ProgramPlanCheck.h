#pragma once

#include "common/DateTime.h"
#include "gasdata/FlowInfo.h"
#include "gasdata/MolarMasses.h"
#include "program/MixtureProgram.h"

#include <string>
#include <vector>

namespace gasmixer {

// The mixer as the window has it when a program is about to start.
struct ProgramPlanContext {
    std::string GasA;  // compound names, as chosen
    std::string GasB;
    TFlowInfo FlowInfoA;
    TFlowInfo FlowInfoB;
    double PH2O = 0.0;        // atm, at the bubbler now
    bool FakeMode = false;    // the imaginary mixer's water is not capped
    double GasBLimit = 0.0;   // the current limit, kept by steps that give none
    double GasBLimitMin = 0.0;
    double GasBLimitMax = 0.0;  // limits apply when above the minimum
    double PreviousWettingFraction = 0.0;
    TDateTime Start = 0.0;          // when the program would start
    TDateTime StopDeadline = 0.0;   // the automatic stop as armed now
    double CounterHours = 24.0;     // what "Apply Mixture" re-arms it to
};

// A step that cannot run as written. Step counts from 1.
struct StepProblem {
    int Step = 0;
    std::string Reason;

    friend bool operator==(const StepProblem&, const StepProblem&) = default;
};

// Plans every mixture step and every stair of a ramp, in every pass, as the
// window would when it begins: no plan, water the bubbler cannot carry, a gas
// B limit outside the control's range, or an automatic stop that would cut
// the program short. A step is told once, at the first pass and stair that fails.
std::vector<StepProblem> CheckProgramPlans(const MixtureProgram& program, const ProgramPlanContext& context);

}  // namespace gasmixer
