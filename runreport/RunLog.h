#pragma once

#include "common/DateTime.h"
#include "gasdata/FlowInfo.h"
#include "records/RecordRow.h"
#include "uncertainty/MixtureUncertainty.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// What a run report tells, gathered while the mixer runs: the set-up, each
// plan applied with the rows it produced, the alarms and the run's times.
// Of each plan's rows only the last minutes are kept, enough for their mean.

namespace gasmixer {

// The produced mixture is averaged over this many minutes at the end of
// each plan, or over the whole plan when it ran shorter.
inline constexpr double ReportAverageMinutes = 5.0;

struct TRunSetup {
    std::string RelayPort;
    std::string MfcPort;
    std::string GasA;  // as the lists name them
    std::string GasB;
    TFlowInfo FlowInfoA;
    TFlowInfo FlowInfoB;
};

struct TAppliedPlan {
    TDateTime Time = 0.0;
    int GasAPpm = 0;
    int GasBPpm = 0;
    int H2OPpm = 0;
    std::string Method;
    double FlowA = 0.0;  // in the controllers' units
    double FlowB = 0.0;
    double WettingFraction = 0.0;
    std::string Expected;  // the plan's expected line; empty when unknown
    std::optional<TRunningMixture> Running;  // nothing: no uncertainty for its rows
};

// The produced mixture of one plan: its mean over the last minutes and the
// expanded uncertainty of that mean.
struct TProducedMean {
    TDateTime From = 0.0;
    TDateTime To = 0.0;
    double Minutes = 0.0;
    TMixtureUncertainty Mixture;
};

struct TRunAlarm {
    TDateTime Time = 0.0;
    std::string Line;
};

class TRunLog {
public:
    void SetSetup(TRunSetup setup) { setup_ = std::move(setup); }
    void AddPlan(TAppliedPlan plan);
    // Rows outside Dilution count for the run's times only.
    void AddRow(const RecordRow& row);
    void AddAlarm(TDateTime time, std::string line);

    const TRunSetup& Setup() const { return setup_; }
    std::optional<TDateTime> Start() const { return start_; }
    std::optional<TDateTime> End() const { return end_; }
    const std::vector<TRunAlarm>& Alarms() const { return alarms_; }

    struct PlanRecord {
        TAppliedPlan Plan;
        // Rows of the plan's present totalizer count, the last minutes of them.
        std::deque<RecordRow> Rows;
    };
    const std::vector<PlanRecord>& Plans() const { return plans_; }

    // The mean of each plan's produced mixture; nothing for a plan without
    // rows or without its running mixture.
    std::optional<TProducedMean> Mean(const PlanRecord& plan, const TAccuracySettings& accuracy) const;

private:
    TRunSetup setup_;
    std::vector<PlanRecord> plans_;
    std::vector<TRunAlarm> alarms_;
    std::optional<TDateTime> start_;
    std::optional<TDateTime> end_;
};

}  // namespace gasmixer
