#pragma once

// When the control tick stores a table row and autosaves. Intervals are day
// counts, as every date-time difference of the program.

#include <cstdint>

namespace gasmixer {

// The control tick's period.
inline constexpr std::uint32_t ControlTickMs = 250;

// After a totalizer reset, rows are stored about every second for this long.
inline constexpr double FastStorePhase = 1.0 / 2880.0;  // 30 s

// modeChanged: the mode differs from the one the previous tick saw (a row
// whatever the mode). cadenceMode: Dilution or Bypass, the modes that store
// on their own. At exactly 30 s after the reset neither cadence applies.
bool StoreDue(bool modeChanged, bool cadenceMode, double sinceReset, double sinceLastStore,
              int storeIntervalMinutes);

// Hourly, only in Dilution.
bool AutosaveDue(bool inDilution, double sinceLastAutosave);

}  // namespace gasmixer
