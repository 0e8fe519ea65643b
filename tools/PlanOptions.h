#pragma once

#include "gasdata/FlowInfo.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace gasmixer {

// A command line that cannot be used; the message names the option.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The request on the command line, with the defaults of the imaginary mixer
// for everything not given.
struct PlanOptions {
    bool Help = false;
    bool Version = false;
    std::string GasA;
    std::string GasB;
    int GasAPpm = 0;
    int H2OPpm = 0;
    double PH2O = 0.0;       // atm
    double GasBLimit = 0.0;  // g/min, within controller B's range
    TFlowInfo FlowInfoA;
    TFlowInfo FlowInfoB;
    bool Fake = false;
    bool Json = false;
};

// Throws UsageError. Stops at --help or --version, with Help or Version set and nothing else checked.
PlanOptions ParseOptions(const std::vector<std::string_view>& args);

std::string_view UsageText();

}  // namespace gasmixer
