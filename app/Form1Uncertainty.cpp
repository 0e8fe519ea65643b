#include "app/Form1.h"

#include "app/AccuracyGroup.h"
#include "app/PlanUncertaintyBar.h"
#include "controls/RtNumericUpDn.h"
#include "plot/MixturePlot.h"
#include "runreport/AdoptedPlan.h"
#include "uncertainty/AccuracyStore.h"
#include "uncertainty/MixtureUncertainty.h"

#include <cmath>

namespace gasmixer {
namespace {

double Relative(const TSpeciesUncertainty& s) { return s.Ppm > 0 ? s.Expanded / s.Ppm : std::nan(""); }

}  // namespace

void TForm1::AccuracyChanged(const TAccuracySettings& accuracy)
{
    accuracy_ = accuracy;
    RememberAccuracy(accuracy);
    if (planShown_) ShowPlanUncertainty(planShown_->Input, planShown_->Plan);
    ShowRequestedBands();
}

void TForm1::ShowRequestedBands()
{
    if (!planAdopted_) return;
    const PlanInput& in = planAdopted_->Input;
    const TMixtureUncertainty u = PlanUncertainty(in, planAdopted_->Plan, accuracy_);
    MixturePlot->SetRequested(in.GasAPpm, in.H2OPpm, u.Species[SpeciesA].Expanded, u.Species[SpeciesH2O].Expanded);
}

void TForm1::ShowPlanUncertainty(const PlanInput& input, const PlanResult& plan)
{
    if (!plan.Defined) {
        planShown_.reset();
        PlanUncertaintyBar->Show(std::nullopt);
        return;
    }
    planShown_ = TAdoptedPlan{input, plan};
    PlanUncertaintyBar->Show(PlanUncertainty(input, plan, accuracy_));
}

void TForm1::ShowAdoptedUncertainty(const std::vector<std::string>& report, int gasAPpm, int h2oPpm, bool defined)
{
    planAdopted_ = defined ? PlanAgain(snapshot_, report, gasAPpm, h2oPpm, RtNumericUpDn1->Value()) : std::nullopt;
    if (defined) runLog_.AddPlan(AppliedPlanOf(services_.clock.Now(), report, gasAPpm, h2oPpm, planAdopted_, accuracy_));
    if (!planAdopted_) {
        planShown_.reset();
        PlanUncertaintyBar->Show(std::nullopt);
        if (defined) MixturePlot->SetRequested(gasAPpm, h2oPpm);
        return;
    }
    ShowPlanUncertainty(planAdopted_->Input, planAdopted_->Plan);
    ShowRequestedBands();
}

void TForm1::ShowProducedUncertainty(const RecordRow& record)
{
    const auto method = FindMixingMethod(snapshot_.MixingMethod);
    const auto& v = record.Values;
    if (record.Mode != "Dilution" || !method || snapshot_.GasA.empty() || snapshot_.GasB.empty() || !v[FieldGasA]
        || !v[FieldGasB]) {
        MixturePlot->SetProducedBand(record.Time(), std::nan(""), std::nan(""));
        return;
    }
    const TRunningMixture running{*method, FindCompound(snapshot_.GasA), FindCompound(snapshot_.GasB),
                                  snapshot_.FlowInfoA, snapshot_.FlowInfoB, snapshot_.PH2O};
    const TDelivered delivered{*v[FieldGasA], *v[FieldGasB], v[FieldH2O].value_or(0.0), record.MinutesSinceReset, 1};
    const TMixtureUncertainty u = ProducedUncertainty(running, delivered, accuracy_);
    MixturePlot->SetProducedBand(record.Time(), Relative(u.Species[SpeciesA]), Relative(u.Species[SpeciesH2O]));
}

}  // namespace gasmixer
