#pragma once

#include "common/TextFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gasmixer {

// What the TG estimate starts from: the two flows the operator typed (ml/min,
// only their ratio counts) and the last row of the produced-mixture table.
struct TGMixInputs {
    std::int32_t ProtectiveGasFlow = 0;  // P, the TG's own gas B
    std::int32_t MixtureFlow = 0;        // X, the mixer's output fed to the TG
    int LastRow = 0;                     // index of that row; row 0 is the header
    std::string APpmCell;
    std::string BPpmCell;
    std::string H2OPpmCell;
};

enum class TGMixOutcome {
    NoFlows,     // P + X < 1: every label reads "Unknown"
    TooFewRows,  // no more than two records yet
    Estimated,
    Failed,      // a cell is not a number or the arithmetic faulted
};

// One refresh: the texts of the labels it sets (an empty optional keeps the
// label's text) and the lines for the device log.
struct TGMixTexts {
    TGMixOutcome Outcome = TGMixOutcome::NoFlows;
    std::optional<std::string> APpm;
    std::optional<std::string> ALog;
    std::optional<std::string> BPpm;
    std::optional<std::string> BLog;
    std::optional<std::string> H2OPpm;
    std::optional<std::string> H2OLog;
    std::vector<std::string> Log;
};

// The mixture that reaches the sample after the TG dilutes it with its
// protective gas. Cells are read, and texts written, with the given settings'
// decimal separator.
TGMixTexts EstimateTGMix(const TGMixInputs& inputs, const FormatSettings& settings);

}  // namespace gasmixer
