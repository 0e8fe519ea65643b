#include "gasdata/Thermistor.h"

#include <cmath>

namespace gasmixer {

bool ThermistorTemperature(double R, double& T)
{
    if (!(R >= 2986.0 && R <= 32600.0)) return false;
    T = 1373.1696074919496 * std::pow(std::log(R + 52.676757508279636), -0.2987916592541921) - 682.1861323649009;
    return true;
}

}  // namespace gasmixer
