#pragma once

namespace gasmixer {

// Limits are active only when max > min; otherwise every value passes.
template <typename T>
T ClampToLimits(T value, T min, T max)
{
    if (max > min) {
        if (value < min) return min;
        if (value > max) return max;
    }
    return value;
}

}  // namespace gasmixer
