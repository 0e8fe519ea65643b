#pragma once

#include <optional>
#include <string>
#include <vector>

namespace gasmixer {

// What gasmixer-run was asked to do.
struct RunOptions {
    std::string ProgramPath;
    std::string RelayPort;
    std::string MfcPort;
    std::string GasA;  // empty with --fake: the imaginary mixer's own
    std::string GasB;
    std::string SavePath;  // empty: named after the time, as the window proposes
    bool Fake = false;
    bool Help = false;
    std::string RecoverPath;  // a journal whose table is saved instead of a run
    std::string ReportPath;   // the run report (PDF); empty: none
    bool Version = false;

    friend bool operator==(const RunOptions&, const RunOptions&) = default;
};

struct ParsedRunOptions {
    std::optional<RunOptions> Options;  // nothing on error
    std::string Error;
};

// The command line after the program name. Only checks its form; whether the
// ports answer and the gases exist is the set-up's business.
ParsedRunOptions ParseRunOptions(const std::vector<std::string>& args);

extern const char* const RunUsage;

}  // namespace gasmixer
