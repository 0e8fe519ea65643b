#include "program/ProgramFile.h"

#include "mixing/FractionBalance.h"
#include "program/ProgramSchedule.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace gasmixer {

namespace {

constexpr int FieldCount = ProgramColumnCount;
constexpr std::array<std::string_view, FieldCount> FieldNames{"step", "a_ppm", "h2o_ppm", "b_limit",
                                                               "minutes"};
constexpr std::string_view RampStepOption = "ramp_step";
constexpr int MostPasses = 10000;
// Bounds what a run keeps in memory and what the plan check plans.
constexpr long long MostScheduledSteps = 100000;

std::string_view Trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::vector<std::string> SplitFields(std::string_view line)
{
    std::vector<std::string> fields;
    for (;;) {
        const auto semicolon = line.find(';');
        fields.emplace_back(Trim(line.substr(0, semicolon)));
        if (semicolon == std::string_view::npos) return fields;
        line.remove_prefix(semicolon + 1);
    }
}

// A spreadsheet writes empty rows as ";;;;".
bool AllEmpty(const std::vector<std::string>& fields)
{
    return std::all_of(fields.begin(), fields.end(), [](const std::string& f) { return f.empty(); });
}

struct RowError {
    std::string Reason;
};

std::optional<StepKind> KindNamed(const std::string& name)
{
    for (StepKind kind : {StepKind::Mixture, StepKind::Ramp, StepKind::Flush, StepKind::Bypass, StepKind::Stop,
                          StepKind::Hold, StepKind::Repeat})
        if (Lower(name) == StepKindName(kind)) return kind;
    return std::nullopt;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

bool ParseWhole(const std::string& field, int& value)
{
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    return ec == std::errc{} && end == field.data() + field.size();
}

int ParsePpm(const std::string& field, std::string_view name, const std::string& kindName)
{
    if (field.empty()) throw RowError{"a " + kindName + " needs " + std::string(name)};
    int value = -1;
    if (!ParseWhole(field, value) || value < 0 || value > WholeMixturePpm)
        throw RowError{std::string(name) + " " + Quoted(field) +
                       " is not a whole number of ppm from 0 to 1000000"};
    return value;
}

int ParsePasses(const std::string& field)
{
    if (field.empty()) throw RowError{"repeat needs how many times in all, as its second field"};
    int value = 0;
    if (!ParseWhole(field, value) || value < 1 || value > MostPasses)
        throw RowError{"repeat " + Quoted(field) + " is not a whole number of times from 1 to " +
                       std::to_string(MostPasses)};
    return value;
}

void RefuseFields(const std::vector<std::string>& fields, int from, int to, const std::string& kindName)
{
    for (int c = from; c <= to; ++c)
        if (!fields[static_cast<std::size_t>(c)].empty())
            throw RowError{kindName + " takes no " + std::string(FieldNames[static_cast<std::size_t>(c)])};
}

double ParseDecimal(const std::string& field, std::string_view name)
{
    double value = 0.0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value,
                                           std::chars_format::fixed);
    if (ec != std::errc{} || end != field.data() + field.size() || !std::isfinite(value)) {
        std::string reason = std::string(name) + " " + Quoted(field) + " is not a number";
        if (field.find(',') != std::string::npos) reason += "; the decimal separator is a point";
        throw RowError{reason};
    }
    return value;
}

ProgramStep ParseStep(const std::vector<std::string>& fields)
{
    if (fields.size() < FieldCount ||
        std::any_of(fields.begin() + FieldCount, fields.end(), [](const std::string& f) { return !f.empty(); }))
        throw RowError{"expected 5 fields separated by ';', found " + std::to_string(fields.size())};
    const std::optional<StepKind> kind = KindNamed(fields[StepColumn]);
    if (!kind)
        throw RowError{"unknown step " + Quoted(fields[StepColumn]) +
                       "; a step is mixture, ramp, flush, bypass, stop, hold or repeat"};
    ProgramStep step;
    step.Kind = *kind;
    const std::string kindName(StepKindName(step.Kind));

    if (step.Kind == StepKind::Hold) {
        RefuseFields(fields, GasAColumn, MinutesColumn, kindName);
        return step;
    }
    if (step.Kind == StepKind::Repeat) {
        step.Passes = ParsePasses(fields[GasAColumn]);
        RefuseFields(fields, H2OColumn, MinutesColumn, kindName);
        return step;
    }
    if (step.Kind == StepKind::Mixture || step.Kind == StepKind::Ramp) {
        step.GasAPpm = ParsePpm(fields[GasAColumn], "a_ppm", kindName);
        step.H2OPpm = ParsePpm(fields[H2OColumn], "h2o_ppm", kindName);
        if (step.GasAPpm + step.H2OPpm > WholeMixturePpm)
            throw RowError{"a_ppm and h2o_ppm add up to more than 1000000"};
        if (!fields[GasBLimitColumn].empty()) {
            step.GasBLimit = ParseDecimal(fields[GasBLimitColumn], "b_limit");
            if (!(*step.GasBLimit > 0.0)) throw RowError{"b_limit must be more than 0 g/min"};
        }
    } else {
        RefuseFields(fields, GasAColumn, GasBLimitColumn, kindName);
    }
    if (fields[MinutesColumn].empty()) throw RowError{kindName + " needs its minutes"};
    step.Minutes = ParseDecimal(fields[MinutesColumn], "minutes");
    if (step.Minutes < 0.0) throw RowError{"minutes must not be negative"};
    if (step.Kind == StepKind::Ramp && step.Minutes == 0.0) throw RowError{"a ramp needs more than 0 minutes"};
    return step;
}

// The header's fields after the column names: "ramp_step=2" and empty ones.
double ParseHeaderOptions(const std::vector<std::string>& options)
{
    double rampStep = DefaultRampStepMinutes;
    for (const std::string& option : options) {
        if (option.empty()) continue;
        const auto equals = option.find('=');
        if (equals == std::string::npos || Lower(Trim(std::string_view(option).substr(0, equals))) != RampStepOption)
            throw RowError{"unknown header option " + Quoted(option) + "; the header takes only ramp_step=<minutes>"};
        rampStep = ParseDecimal(std::string(Trim(std::string_view(option).substr(equals + 1))), RampStepOption);
        if (!(rampStep > 0.0)) throw RowError{"ramp_step must be more than 0 minutes"};
    }
    return rampStep;
}

// The next step would begin at the same instant and replace it; a repeat
// would run it again.
bool LastToRun(const std::vector<ProgramStep>& steps, int index)
{
    return std::all_of(steps.begin() + index + 1, steps.end(), [](const ProgramStep& s) {
        return s.Kind == StepKind::Hold || (s.Kind == StepKind::Repeat && s.Passes == 1);
    });
}

// What no single line shows: where holds, repeats and steps of no time
// stand, what a ramp starts from, and how long the run grows.
std::optional<ProgramError> CheckOrder(const MixtureProgram& program, const std::vector<int>& lines)
{
    const auto& steps = program.Steps;
    const int count = static_cast<int>(steps.size());
    bool applied = false;        // a mixture or ramp came before
    int blockSteps = 0;          // timed steps since the previous repeat
    long long blockEntries = 0;  // and what they run
    long long entries = 0;
    for (int i = 0; i < count; ++i) {
        const ProgramStep& step = steps[static_cast<std::size_t>(i)];
        const int line = lines[static_cast<std::size_t>(i)];
        const auto error = [line](std::string reason) { return ProgramError{line, std::move(reason)}; };
        switch (step.Kind) {
        case StepKind::Hold:
            if (i != count - 1) return error("hold may only be the last step");
            if (entries == 0) return error("hold needs a step before it to keep running");
            continue;
        case StepKind::Repeat:
            if (blockSteps == 0) return error("repeat has no steps since the previous repeat or the start");
            entries += blockEntries * (step.Passes - 1);
            blockSteps = 0;
            blockEntries = 0;
            break;
        case StepKind::Ramp:
            if (!applied) return error("a ramp needs a mixture or ramp before it to start from");
            [[fallthrough]];
        default: {
            const long long runs = step.Kind == StepKind::Ramp ? StairCount(step.Minutes, program.RampStepMinutes) : 1;
            applied = applied || step.Kind == StepKind::Mixture || step.Kind == StepKind::Ramp;
            ++blockSteps;
            blockEntries += runs;
            entries += runs;
            if (step.Minutes == 0.0 && !LastToRun(steps, i))
                return error("only the last step may last 0 minutes");
        }
        }
        if (entries > MostScheduledSteps)
            return error("the program runs more than " + std::to_string(MostScheduledSteps) +
                         " steps and ramp stairs in all");
    }
    return std::nullopt;
}

std::string DecimalText(double value)
{
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed);
    return ec == std::errc{} ? std::string(buffer.data(), end) : std::string{};
}

}  // namespace

ParsedProgram ParseProgramRows(const std::vector<ProgramRow>& rows, double rampStepMinutes)
{
    MixtureProgram program;
    program.RampStepMinutes = rampStepMinutes;
    std::vector<int> lines;
    for (const ProgramRow& row : rows) {
        if (AllEmpty(row.Fields)) continue;
        try {
            program.Steps.push_back(ParseStep(row.Fields));
            lines.push_back(row.Line);
        } catch (const RowError& e) {
            return {std::nullopt, {row.Line, e.Reason}};
        }
    }
    if (program.Steps.empty()) return {std::nullopt, {rows.empty() ? 1 : rows.back().Line, "the program has no steps"}};
    if (const std::optional<ProgramError> error = CheckOrder(program, lines)) return {std::nullopt, *error};
    return {std::move(program), {}};
}

ParsedProgram ParseProgram(std::string_view text)
{
    // A byte-order mark from a spreadsheet's export.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<ProgramRow> rows;
    bool headerSeen = false;
    double rampStep = DefaultRampStepMinutes;
    int line = 0;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        const std::string_view content = Trim(text.substr(0, newline));
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        ++line;
        if (content.empty() || content.front() == '#') continue;
        std::vector<std::string> fields = SplitFields(content);
        if (AllEmpty(fields)) continue;
        if (!headerSeen) {
            bool header = fields.size() >= FieldCount;
            for (std::size_t i = 0; header && i < FieldCount; ++i) header = Lower(fields[i]) == FieldNames[i];
            if (!header)
                return {std::nullopt,
                        {line, std::string("the first line must be the header ") + ProgramFileHeader}};
            try {
                rampStep = ParseHeaderOptions({fields.begin() + FieldCount, fields.end()});
            } catch (const RowError& e) {
                return {std::nullopt, {line, e.Reason}};
            }
            headerSeen = true;
            continue;
        }
        rows.push_back({line, std::move(fields)});
    }
    if (!headerSeen)
        return {std::nullopt, {std::max(line, 1), std::string("the header ") + ProgramFileHeader + " is missing"}};
    if (rows.empty()) return {std::nullopt, {std::max(line, 1), "the program has no steps"}};
    return ParseProgramRows(rows, rampStep);
}

std::string ProgramField(const ProgramStep& step, ProgramColumn column)
{
    const bool mixture = step.Kind == StepKind::Mixture || step.Kind == StepKind::Ramp;
    const bool timed = step.Kind != StepKind::Hold && step.Kind != StepKind::Repeat;
    switch (column) {
    case StepColumn: return std::string(StepKindName(step.Kind));
    case GasAColumn:
        if (step.Kind == StepKind::Repeat) return std::to_string(step.Passes);
        return mixture ? std::to_string(step.GasAPpm) : std::string{};
    case H2OColumn: return mixture ? std::to_string(step.H2OPpm) : std::string{};
    case GasBLimitColumn: return mixture && step.GasBLimit ? DecimalText(*step.GasBLimit) : std::string{};
    case MinutesColumn: return timed ? DecimalText(step.Minutes) : std::string{};
    case ProgramColumnCount: break;
    }
    return {};
}

std::string WriteProgram(const MixtureProgram& program)
{
    std::string text = ProgramFileHeader;
    // Files that need no option stay readable by older versions.
    if (program.RampStepMinutes != DefaultRampStepMinutes)
        text += ";" + std::string(RampStepOption) + "=" + DecimalText(program.RampStepMinutes);
    text += '\n';
    for (const ProgramStep& step : program.Steps) {
        for (int column = 0; column < FieldCount; ++column) {
            if (column > 0) text += ';';
            text += ProgramField(step, static_cast<ProgramColumn>(column));
        }
        text += '\n';
    }
    return text;
}

}  // namespace gasmixer
