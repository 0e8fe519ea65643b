#pragma once

#include "common/SettingsPath.h"

#include <optional>
#include <string>

namespace gasmixer {

// What the window remembers between runs, so that the next start can offer
// it again. Ports are kept as they are opened (a stable name when there is
// one), gases as their lists name them.
struct TRememberedSetup {
    std::string RelayPort;
    std::string MfcPort;
    std::string GasA;
    std::string GasB;
    int GasAPpm = 0;
    int H2OPpm = 0;
    std::optional<double> GasBLimit;  // g/min
    int StoreInterval = 1;            // minutes
    std::string AutosaveName;

    friend bool operator==(const TRememberedSetup&, const TRememberedSetup&) = default;
};

// Nothing when no set-up was remembered in the file; a value it cannot read
// keeps its default.
std::optional<TRememberedSetup> ReadRememberedSetup(const std::string& path);

// False when the file could not be written.
bool WriteRememberedSetup(const std::string& path, const TRememberedSetup& setup);

}  // namespace gasmixer
