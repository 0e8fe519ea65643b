#include "mixing/TGEstimate.h"

#include "common/NumberParse.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace gasmixer {
namespace {

constexpr const char* PpmPattern = "0 000 000";
constexpr const char* LogPattern = "0.0";
constexpr double WholeMixturePpm = 1000000.0;

// Division by zero, overflow and invalid operations are faults, not values.
double Checked(double value)
{
    if (!std::isfinite(value)) throw std::domain_error("floating-point fault");
    return value;
}

double ReadPpmCell(std::string text, char decimalSeparator)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    const std::optional<double> value = ParseReal(text, decimalSeparator);
    if (!value) throw std::invalid_argument("not a number: " + text);
    return *value;
}

// Sets the ppm text, and the partial pressure's logarithm where it has one.
void Show(double ppm, std::optional<std::string>& ppmText, std::optional<std::string>& logText,
          const FormatSettings& settings)
{
    ppmText = FormatFloat(PpmPattern, ppm, settings);
    if (ppm > 0) logText = FormatFloat(LogPattern, Checked(std::log10(ppm / WholeMixturePpm)), settings);
}

}  // namespace

TGMixTexts EstimateTGMix(const TGMixInputs& inputs, const FormatSettings& settings)
{
    TGMixTexts out;
    out.Log.emplace_back("TG calculations start");
    const std::int64_t P = inputs.ProtectiveGasFlow;
    const std::int64_t X = inputs.MixtureFlow;
    if (P + X < 1) {
        out.Outcome = TGMixOutcome::NoFlows;
        for (auto* label : {&out.APpm, &out.ALog, &out.BPpm, &out.BLog, &out.H2OPpm, &out.H2OLog})
            *label = "Unknown";
        return out;
    }
    if (inputs.LastRow <= 2) {
        out.Outcome = TGMixOutcome::TooFewRows;
        return out;
    }
    try {
        const double As = ReadPpmCell(inputs.APpmCell, settings.decimalSeparator);
        const double Bs = ReadPpmCell(inputs.BPpmCell, settings.decimalSeparator);
        const double Ws = ReadPpmCell(inputs.H2OPpmCell, settings.decimalSeparator);
        out.Log.push_back("A source ppm   : " + FormatFloat(PpmPattern, As, settings));
        out.Log.push_back("B source ppm   : " + FormatFloat(PpmPattern, Bs, settings));
        out.Log.push_back("H2O source ppm : " + FormatFloat(PpmPattern, Ws, settings));

        const double d = Checked(static_cast<double>(P) / static_cast<double>(X) + 1.0);
        const double A = Checked(As / d);
        Show(A, out.APpm, out.ALog, settings);
        // The protective gas is gas B, so all but gas A is gas B; the water
        // is not taken off.
        const double B = Checked(WholeMixturePpm - A);
        Show(B, out.BPpm, out.BLog, settings);
        const double W = Checked(Ws / d);
        Show(W, out.H2OPpm, out.H2OLog, settings);
        out.Log.emplace_back("TG calculations end");
        out.Outcome = TGMixOutcome::Estimated;
    } catch (const std::exception&) {
        out.Log.emplace_back("TG calculations exception");
        out.Outcome = TGMixOutcome::Failed;
    }
    return out;
}

}  // namespace gasmixer
