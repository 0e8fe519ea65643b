#include "tools/PlanOptions.h"

#include "gasdata/MolarMasses.h"
#include "mixing/FractionBalance.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <set>
#include <type_traits>

namespace gasmixer {
namespace {

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// The whole text must be the number: no blanks, no sign prefix "+", no
// trailing characters, and never a locale's decimal comma.
template <typename Number>
std::optional<Number> ParseWhole(std::string_view text)
{
    Number value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end || text.empty()) return std::nullopt;
    if constexpr (std::is_floating_point_v<Number>)
        if (!std::isfinite(value)) return std::nullopt;
    return value;
}

int ParsePpm(std::string_view option, std::string_view text)
{
    const auto ppm = ParseWhole<int>(text);
    if (!ppm) throw UsageError(std::string(option) + " expects a whole number of ppm, got " + Quoted(text));
    if (*ppm < 0 || *ppm > WholeMixturePpm)
        throw UsageError(std::string(option) + " must lie between 0 and 1000000 ppm, got " + Quoted(text));
    return *ppm;
}

double ParseReal(std::string_view option, std::string_view text, std::string_view what)
{
    const auto value = ParseWhole<double>(text);
    if (!value) throw UsageError(std::string(option) + " expects " + std::string(what) + ", got " + Quoted(text));
    return *value;
}

double ParsePressure(std::string_view option, std::string_view text)
{
    const double p = ParseReal(option, text, "a vapour pressure in atm");
    if (p < 0) throw UsageError(std::string(option) + " must not be negative, got " + Quoted(text));
    return p;
}

// The limit keeps to the range the window's control allows: from the
// controller's minimum up to its full scale.
double ParseGasBLimit(std::string_view text, const TFlowInfo& gasB)
{
    const double limit = ParseReal("--b-limit", text, "a flow in g/min");
    const float asMax = static_cast<float>(limit);
    if (!(asMax >= gasB.Min && asMax <= gasB.MaxOrig))
        throw UsageError("--b-limit must lie between the minimum and the full scale of controller B, got "
                         + Quoted(text));
    return limit;
}

// Half the full scale, as the window proposes, but never below the minimum.
double DefaultGasBLimit(const TFlowInfo& gasB)
{
    return std::max(static_cast<double>(gasB.MaxOrig) / 2, static_cast<double>(gasB.Min));
}

// FULLSCALE:TURNDOWN replaces the range of a fake controller; its minimum
// follows as the controller computes it.
void ParseController(std::string_view option, std::string_view text, TFlowInfo& info)
{
    const std::size_t colon = text.find(':');
    const auto fullScale = ParseWhole<double>(text.substr(0, colon));
    const auto turnDown =
        colon == std::string_view::npos ? std::nullopt : ParseWhole<std::uint32_t>(text.substr(colon + 1));
    if (!fullScale || !turnDown)
        throw UsageError(std::string(option) + " expects FULLSCALE:TURNDOWN (g/min and a whole ratio), got "
                         + Quoted(text));
    const float max = static_cast<float>(*fullScale);
    if (!(std::isfinite(max) && max > 0) || *turnDown == 0)
        throw UsageError(std::string(option) + " needs a positive full scale and turn-down ratio, got "
                         + Quoted(text));
    info.Max = max;
    info.MaxOrig = max;
    info.Dyn = *turnDown;
    info.Min = static_cast<float>(static_cast<double>(max) / *turnDown);
}

const std::set<std::string_view> ValueOptions = {"--gas-a", "--gas-b", "--a-ppm", "--h2o-ppm", "--ph2o",
                                                 "--b-limit", "--mfc-a", "--mfc-b"};
const std::set<std::string_view> FlagOptions = {"--fake", "--json"};

std::string Required(std::string_view option) { return "option " + std::string(option) + " is required"; }

}  // namespace

PlanOptions ParseOptions(const std::vector<std::string_view>& args)
{
    PlanOptions o;
    o.PH2O = WaterVapourPressure(20.0f);
    o.FlowInfoA = FakeFlowInfoA();
    o.FlowInfoB = FakeFlowInfoB();
    std::optional<std::string_view> gasBLimit;
    std::set<std::string_view> seen;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view option = args[i];
        if (option == "--help" || option == "-h") {
            o.Help = true;
            return o;
        }
        if (option == "--version") {
            o.Version = true;
            return o;
        }
        const bool takesValue = ValueOptions.count(option) > 0;
        if (!takesValue && FlagOptions.count(option) == 0)
            throw UsageError("unknown option " + Quoted(option) + " (see --help)");
        if (!seen.insert(option).second) throw UsageError("option " + std::string(option) + " is given twice");
        if (!takesValue) {
            (option == "--fake" ? o.Fake : o.Json) = true;
            continue;
        }
        if (i + 1 == args.size() || args[i + 1].substr(0, 2) == "--")
            throw UsageError("option " + std::string(option) + " needs a value");
        const std::string_view value = args[++i];
        if (option == "--gas-a") o.GasA = value;
        else if (option == "--gas-b") o.GasB = value;
        else if (option == "--a-ppm") o.GasAPpm = ParsePpm(option, value);
        else if (option == "--h2o-ppm") o.H2OPpm = ParsePpm(option, value);
        else if (option == "--ph2o") o.PH2O = ParsePressure(option, value);
        else if (option == "--b-limit") gasBLimit = value;
        else if (option == "--mfc-a") ParseController(option, value, o.FlowInfoA);
        else ParseController(option, value, o.FlowInfoB);
    }

    for (std::string_view option : {"--gas-a", "--gas-b", "--a-ppm"})
        if (seen.count(option) == 0) throw UsageError(Required(option));
    o.GasBLimit = gasBLimit ? ParseGasBLimit(*gasBLimit, o.FlowInfoB) : DefaultGasBLimit(o.FlowInfoB);
    return o;
}

std::string_view UsageText()
{
    return R"(Usage: gasmixer-plan --gas-a NAME --gas-b NAME --a-ppm N [options]

Plans a mixture of gas A diluted in gas B, optionally humidified, as the mixer
window previews it, and prints the plan.

Required:
  --gas-a NAME        gas A (the diluted gas), a name of the compound table,
                      e.g. O2, H2, Air, 5%H2,95%Ar
  --gas-b NAME        gas B (the diluting gas), e.g. Ar, N2, H2, H2O
  --a-ppm N           gas A in the finished mixture, whole ppm (mole parts per
                      million), 0 to 1000000

Options:
  --h2o-ppm N         water vapour in the finished mixture, whole ppm,
                      0 to 1000000 (default 0); gas B takes the rest. Unless
                      --fake is given, water is capped at what gas B saturated
                      at --ph2o can carry
  --ph2o ATM          saturation vapour pressure of water at the bubbler, atm,
                      not negative (default: at 20 ºC, about 0.0231)
  --b-limit GPM       upper mass flow of gas B, g/min, between the minimum and
                      the full scale of controller B (default: half its full
                      scale, at least its minimum)
  --mfc-a FS:TD       controller of gas A: full scale in g/min and whole
                      turn-down ratio (default 0.0715:120, minimum 0.000596)
  --mfc-b FS:TD       controller of gas B (default 1.0:120, minimum 1e-05)
                      Each controller's minimum is full scale / turn-down.
  --fake              imaginary mixer: accept any water fraction
  --json              print one JSON object instead of the plan text
  -h, --help          show this help
      --version       show the version

Exit status:
  0 a plan was printed; 1 no plan exists for the request (the reason is
  printed) or the output could not be written; 2 the command line cannot be
  used (the error is printed on one line).

Files:
  None: the plan goes to standard output, errors to standard error.

Examples:
  gasmixer-plan --gas-a O2 --gas-b N2 --a-ppm 2000 --h2o-ppm 10000
)";
}

}  // namespace gasmixer
