#include "tools/RunOptions.h"

#include <utility>

namespace gasmixer {

const char* const RunUsage =
    "Usage: gasmixer-run PROGRAM --relay-port PORT --mfc-port PORT --gas-a NAME --gas-b NAME\n"
    "                    [--save FILE] [--report FILE.pdf]\n"
    "       gasmixer-run PROGRAM --fake [--save FILE] [--report FILE.pdf]\n"
    "       gasmixer-run --recover JOURNAL --save FILE\n"
    "Runs a mixture program on the mixer without a display: validates the relay\n"
    "board and the flow controllers, chooses the gases, runs the program, prints\n"
    "one line per step and per stored row, and saves the table at the end.\n"
    "\n"
    "  --relay-port PORT  serial port of the relay board (solenoid control)\n"
    "  --mfc-port PORT    serial port of the MFC line\n"
    "  --gas-a NAME       gas A as the Setup tab lists it (O2, 5%H2,95%Ar, H2, Air, Air2, Air3)\n"
    "  --gas-b NAME       gas B as the Setup tab lists it (Ar, N2, H2, H2O)\n"
    "  --save FILE        where the table goes at the end (default: yyyy-mm-dd hh_mm.csv);\n"
    "                     autosaves go beside it\n"
    "  --report FILE.pdf  also write the run report: set-up, plans, the produced mixture\n"
    "                     with its uncertainty, the plot and the alarms\n"
    "  --fake             the imaginary mixer of the fake port (O2 in N2), no devices\n"
    "  --recover JOURNAL  save the table of a run that ended without saving it, from\n"
    "                     its journal (~/.local/state/gasmixer/journal *.csv), as\n"
    "                     that run would have saved it; FILE must not exist\n"
    "  --help             show this text\n"
    "\n"
    "Exit status: 0 when the program ended or a SIGTERM/SIGINT stopped it (the mixer\n"
    "is then left with valves closed and setpoints 0), 1 when the set-up fails, the\n"
    "journal cannot be read or the table cannot be saved, 2 on bad input.\n";

ParsedRunOptions ParseRunOptions(const std::vector<std::string>& args)
{
    const auto fail = [](std::string why) { return ParsedRunOptions{std::nullopt, std::move(why)}; };
    RunOptions o;
    bool havePort[2] = {false, false};
    std::vector<std::string> positional;
    const std::pair<const char*, std::string*> valued[] = {
        {"--relay-port", &o.RelayPort}, {"--mfc-port", &o.MfcPort}, {"--gas-a", &o.GasA},
        {"--gas-b", &o.GasB},           {"--save", &o.SavePath},    {"--recover", &o.RecoverPath},
        {"--report", &o.ReportPath}};
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help") {
            o.Help = true;
            return {o, {}};
        }
        if (arg == "--fake") {
            o.Fake = true;
            continue;
        }
        if (!arg.starts_with("--")) {
            positional.push_back(arg);
            continue;
        }
        std::string* target = nullptr;
        for (const auto& [name, field] : valued) {
            if (arg == name) target = field;
        }
        if (!target) return fail("unknown option " + arg);
        for (const std::string& name : seen) {
            if (name == arg) return fail(arg + " given twice");
        }
        seen.push_back(arg);
        if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].starts_with("--"))
            return fail(arg + " needs a value");
        *target = args[++i];
        if (target == &o.RelayPort) havePort[0] = true;
        if (target == &o.MfcPort) havePort[1] = true;
    }
    if (!o.RecoverPath.empty()) {
        if (o.SavePath.empty()) return fail("--recover needs --save FILE");
        if (!positional.empty() || o.Fake || seen.size() != 2) return fail("--recover takes --save FILE only");
        return {o, {}};
    }
    if (positional.size() != 1)
        return fail(positional.empty() ? "no program file given" : "one program file only");
    o.ProgramPath = positional.front();
    if (o.Fake) {
        if (havePort[0] || havePort[1]) return fail("--fake takes no ports");
        if ((!o.GasA.empty() && o.GasA != "O2") || (!o.GasB.empty() && o.GasB != "N2"))
            return fail("--fake runs O2 as gas A in N2 as gas B");
        return {o, {}};
    }
    for (const auto& [name, field] : valued) {
        const bool optional = field == &o.SavePath || field == &o.RecoverPath || field == &o.ReportPath;
        if (!optional && field->empty()) return fail(std::string(name) + " is needed (or --fake)");
    }
    return {o, {}};
}

}  // namespace gasmixer
