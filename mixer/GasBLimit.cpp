#include "mixer/GasBLimit.h"

#include <cmath>

namespace gasmixer {

namespace {
bool UsableFullScale(float fullScale) { return std::isfinite(fullScale) && fullScale > 0.0f; }
}  // namespace

std::optional<TGasBLimitRange> GasBLimitRangeFor(float fullScale, std::uint32_t turnDown)
{
    if (!UsableFullScale(fullScale) || turnDown == 0) return std::nullopt;
    const double f = fullScale;
    return TGasBLimitRange{f, f / turnDown, f / 2.0, f / 10.0};
}

TGasBLimitRange FakeGasBLimitRange(const TFlowInfo& fake)
{
    const double f = fake.Max;
    return {f, fake.Min, f / 2.0, f / 10.0};
}

TFlowInfo FlowInfoFromReadings(std::string name, std::string longName, std::string flowUnit,
                               float fullScale, std::uint32_t turnDown)
{
    TFlowInfo info;
    info.Name = std::move(name);
    info.LongName = std::move(longName);
    info.FlowUnit = std::move(flowUnit);
    const float f = UsableFullScale(fullScale) ? fullScale : 0.0f;
    info.Max = f;
    info.MaxOrig = f;
    info.Dyn = turnDown;
    info.Min = turnDown == 0 ? 0.0f : static_cast<float>(static_cast<double>(f) / turnDown);
    return info;
}

}  // namespace gasmixer
