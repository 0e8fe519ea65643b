#pragma once

#include "mixing/MixturePlanner.h"

#include <string>

namespace gasmixer::test {

inline constexpr int Whole = 1'000'000;

// A request as the imaginary mixer makes it: fake controller identities, gas B
// taking what gas A and water leave, the bubbler at 20 ºC.
inline PlanInput Request(const std::string& gasA, const std::string& gasB, int a, int w,
                         double gasBLimit = 0.5)
{
    PlanInput in;
    in.GasAPpm = a;
    in.GasBPpm = Whole - a - w;
    in.H2OPpm = w;
    in.PH2O = WaterVapourPressure(20.0f);
    in.GasBLimit = gasBLimit;
    in.CompoundA = FindCompound(gasA);
    in.CompoundB = FindCompound(gasB);
    in.FlowInfoA = FakeFlowInfoA();
    in.FlowInfoB = FakeFlowInfoB();
    return in;
}

}  // namespace gasmixer::test
