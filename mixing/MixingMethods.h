#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace gasmixer {

// The fifteen mixing methods. The position of a method (0..14) decides its
// valves, wetting and regulation, so the order is fixed.
enum class TMixingMethod : int {
    APure,
    AConstantInB,
    AInBLimited,
    AConstantInBH2O,
    AInBH2OLimited,
    APulseInB,
    APulseInBH2O,
    BPure,
    BConstantInA,
    BInALimited,
    BH2OConstantInA,
    BH2OInALimited,
    BPulseInA,
    BH2OPulseInA,
    BH2O,
};

inline constexpr std::array<std::string_view, 15> MixingMethodNames{
    "A pure",
    "A (constant) in B",
    "A in B (limited)",
    "A (constant) in B/H2O",
    "A in B/H2O (limited)",
    "A (pulse) in B",
    "A (pulse) in B/H2O",
    "B pure",
    "B (constant) in A",
    "B in A (limited)",
    "B/H2O (constant) in A",
    "B/H2O in A (limited)",
    "B (pulse) in A",
    "B/H2O (pulse) in A",
    "B/H2O",
};

constexpr int MixingMethodIndex(TMixingMethod method) { return static_cast<int>(method); }

std::string_view MixingMethodName(TMixingMethod method);

// Exact, case-sensitive; nothing for a text that names no method (the empty
// method before the first plan included).
std::optional<TMixingMethod> FindMixingMethod(std::string_view name);

// Gas B passes through the bubbler: the wetting thread runs.
bool IsHumidifiedMethod(TMixingMethod method);
// Gas A is dosed in pulses.
bool IsPulseAMethod(TMixingMethod method);
// Gas B is dosed in pulses.
bool IsPulseBMethod(TMixingMethod method);

}  // namespace gasmixer
