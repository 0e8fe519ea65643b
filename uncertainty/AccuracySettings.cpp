#include "uncertainty/AccuracySettings.h"

namespace gasmixer {

double StandardFrom(double stated, TStatedAs statedAs)
{
    return statedAs == TStatedAs::Expanded ? stated / CoverageFactor : stated;
}

}  // namespace gasmixer
