#pragma once

namespace gasmixer {

// The whole mixture: the three fractions add up to this.
inline constexpr int WholeMixturePpm = 1'000'000;

// The three fractions of the finished mixture in ppm; they add up to 1 000 000.
struct TFractions {
    int GasAPpm = 0;
    int GasBPpm = 0;
    int H2OPpm = 0;

    friend bool operator==(const TFractions&, const TFractions&) = default;
};

// Gas B takes what gas A and water leave. Unless the mixer is imaginary
// (fakeMode), water is capped at what gas B saturated at pH2O (atm) can carry.
// GasBPpm comes out negative when gas A and water together exceed 1 000 000;
// the caller decides how to refuse that.
TFractions BalanceFractions(int gasAPpm, int h2oPpm, double pH2O, bool fakeMode);

// The same for a mixture asked for in the window or by a program: where gas A
// and water exceed the whole mixture, water takes what gas A leaves.
TFractions BalanceRequest(int gasAPpm, int h2oPpm, double pH2O, bool fakeMode);

}  // namespace gasmixer
