#pragma once

#include "gasdata/MolarMasses.h"

#include <string>

namespace gasmixer {

// M(n): the molar mass of a component; the empty name of a free slot gives 0.
inline float MolarMassOf(const std::string& name) { return FindCompound(name).MolarMass; }

// Slots of a mixture that enter the plan: 1 and 2 always, 3 when named. A
// fourth component is neither counted nor shown.
inline int PlannedSlotCount(const TCompound& mixture)
{
    return mixture.C3Name.empty() ? 2 : 3;
}

// ppm of component `slot` of gas B in the finished mixture: gas B carries the
// water, so its components share b + w.
inline float GasBSlotPpm(const TCompound& gasB, int slot, int gasBPpm, int h2oPpm)
{
    return static_cast<float>(static_cast<long double>(gasBPpm + h2oPpm) * gasB.SlotVFraction(slot));
}

}  // namespace gasmixer
