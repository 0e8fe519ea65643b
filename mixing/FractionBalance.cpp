#include "mixing/FractionBalance.h"

#include "common/TextFormat.h"

#include <algorithm>

namespace gasmixer {

TFractions BalanceFractions(int gasAPpm, int h2oPpm, double pH2O, bool fakeMode)
{
    TFractions f{gasAPpm, WholeMixturePpm - gasAPpm - h2oPpm, h2oPpm};
    const double wMax = static_cast<double>(WholeMixturePpm - gasAPpm) * pH2O;
    if (h2oPpm > 0 && h2oPpm > wMax && !fakeMode) {
        // A vapour pressure below zero would make the cap negative; water
        // cannot go below none.
        f.H2OPpm = static_cast<int>(std::max(0LL, RoundHalfEven(wMax)));
        f.GasBPpm = WholeMixturePpm - gasAPpm - f.H2OPpm;
    }
    return f;
}

TFractions BalanceRequest(int gasAPpm, int h2oPpm, double pH2O, bool fakeMode)
{
    TFractions f = BalanceFractions(gasAPpm, h2oPpm, pH2O, fakeMode);
    if (f.GasBPpm < 0) {
        f.H2OPpm = WholeMixturePpm - gasAPpm;
        f.GasBPpm = 0;
    }
    return f;
}

}  // namespace gasmixer
