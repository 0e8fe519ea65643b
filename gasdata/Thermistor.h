#pragma once

namespace gasmixer {

// Water temperature in ºC of the bubbler thermistor of resistance R (Ω).
// Succeeds only for 2986 <= R <= 32600, the range the fit was made for;
// otherwise returns false and leaves T untouched.
bool ThermistorTemperature(double R, double& T);

}  // namespace gasmixer
