#include "mixer/Mixer.h"

#include "regulation/PulseRegulation.h"

namespace gasmixer {

void TMixer::WatchDelivery(const TMethodActions& method)
{
    WatchGas(DeliveryWatchA, TotalizerA, RequiredFlowA, method.GasA == TFlowRegulation::Pulse, PulseSetpointA);
    WatchGas(DeliveryWatchB, TotalizerB, RequiredFlowB, method.GasB == TFlowRegulation::Pulse, PulseSetpointB);
}

void TMixer::WatchGas(TDeliveryWatch& watch, const TTotalizer& totalizer, double flow, bool pulsed,
                      float pulseSetpoint)
{
    const double tolerance = pulsed ? PulseDoseGrams(pulseSetpoint) : 0.0;
    const std::optional<TDeliveryChange> change = watch.Observe(totalizer.Time, totalizer.Value, flow, tolerance);
    if (!change) return;
    view_.DevFeedback(change->Line);
    view_.DeliveryAlarmChanged({watch.Gas(), change->Short, change->Line, services_.clock.Now()});
}

void TMixer::EndDeliveryWatch()
{
    for (TDeliveryWatch* watch : {&DeliveryWatchA, &DeliveryWatchB}) {
        if (watch->End()) view_.DeliveryAlarmChanged({watch->Gas(), false, {}, services_.clock.Now()});
    }
}

}  // namespace gasmixer
