#include "tools/RunOptions.h"

#include <utility>

namespace gasmixer {

const char* const RunUsage =
    "Usage: gasmixer-run PROGRAM --relay-port PORT --mfc-port PORT --gas-a NAME --gas-b NAME [--save FILE] [--report FILE.pdf]\n"
    "  or:  gasmixer-run PROGRAM --fake [--save FILE] [--report FILE.pdf]\n"
    "  or:  gasmixer-run --recover JOURNAL --save FILE\n"
    "Runs a mixture program on the mixer without a display: validates the relay\n"
    "board and the flow controllers, chooses the gases, runs the program, prints\n"
    "one line per step and per stored row, and saves the table at the end.\n"
    "\n"
    "  --relay-port PORT  serial port of the relay board (solenoid control): a name\n"
    "                     under /dev (ttyUSB0) or a path (/dev/serial/by-id/...)\n"
    "  --mfc-port PORT    serial port of the MFC line, likewise\n"
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
    "  --version          show the version\n"
    "\n"
    "Program file:\n"
    "  A header line step;a_ppm;h2o_ppm;b_limit;minutes (optionally ;ramp_step=M),\n"
    "  then one step a line: mixture;A_PPM;H2O_PPM;B_LIMIT;MINUTES (ppm of gas A\n"
    "  and of water, the gas B limit in g/min or empty to keep it),\n"
    "  ramp;A_PPM;H2O_PPM;B_LIMIT;MINUTES (from the mixture before it, in stairs\n"
    "  of ramp_step minutes, 1 by default), repeat;N;;; (the steps since the last\n"
    "  repeat, N times in all), flush;;;;MINUTES, bypass;;;;MINUTES, stop;;;;0; a\n"
    "  last line hold;;;; keeps the step before it running. Each step prints a line\n"
    "  ending with its pass and passes, each ramp stair a stair;K;N;A_PPM;H2O_PPM\n"
    "  line. The README describes the whole format.\n"
    "\n"
    "Signals:\n"
    "  SIGTERM or SIGINT stops the run at the mixer's next pause, as closing the\n"
    "  window does: valves closed, setpoints 0, the table saved.\n"
    "\n"
    "Exit status:\n"
    "  0 when the program ended or a signal stopped it; 1 when the set-up fails,\n"
    "  the journal cannot be read or the table cannot be saved; 2 on bad input.\n"
    "\n"
    "Files:\n"
    "  The table (--save FILE); in Dilution an hourly autosave beside it; a\n"
    "  journal of every stored row in ~/.local/state/gasmixer (or\n"
    "  $XDG_STATE_HOME/gasmixer), kept 30 days.\n"
    "\n"
    "Examples:\n"
    "  gasmixer-run steps.csv --relay-port ttyUSB1 --mfc-port ttyUSB0 --gas-a O2 --gas-b N2 --save o2.csv\n";

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
        if (arg == "--version") {
            o.Version = true;
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
