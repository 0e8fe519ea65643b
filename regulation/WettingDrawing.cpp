#include "regulation/WettingDrawing.h"

namespace gasmixer {

std::array<bool, 6> WettingDrawing(double wettingFraction, int r)
{
    const bool wet = wettingFraction * 100 > r;
    return {wet, wet, false, !wet, true, false};
}

}  // namespace gasmixer
