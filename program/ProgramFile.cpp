#include "program/ProgramFile.h"

#include "mixing/FractionBalance.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace gasmixer {

namespace {

constexpr int FieldCount = ProgramColumnCount;
constexpr std::array<std::string_view, FieldCount> FieldNames{"step", "a_ppm", "h2o_ppm", "b_limit",
                                                               "minutes"};

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
    for (StepKind kind : {StepKind::Mixture, StepKind::Flush, StepKind::Bypass, StepKind::Stop,
                          StepKind::Hold})
        if (Lower(name) == StepKindName(kind)) return kind;
    return std::nullopt;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

int ParsePpm(const std::string& field, std::string_view name)
{
    if (field.empty()) throw RowError{"a mixture needs " + std::string(name)};
    int value = -1;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc{} || end != field.data() + field.size() || value < 0 || value > WholeMixturePpm)
        throw RowError{std::string(name) + " " + Quoted(field) +
                       " is not a whole number of ppm from 0 to 1000000"};
    return value;
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
                       "; a step is mixture, flush, bypass, stop or hold"};
    ProgramStep step;
    step.Kind = *kind;
    const std::string kindName(StepKindName(step.Kind));

    if (step.Kind == StepKind::Hold) {
        for (int c = GasAColumn; c <= MinutesColumn; ++c)
            if (!fields[static_cast<std::size_t>(c)].empty())
                throw RowError{"hold takes no " + std::string(FieldNames[static_cast<std::size_t>(c)])};
        return step;
    }
    if (step.Kind == StepKind::Mixture) {
        step.GasAPpm = ParsePpm(fields[GasAColumn], "a_ppm");
        step.H2OPpm = ParsePpm(fields[H2OColumn], "h2o_ppm");
        if (step.GasAPpm + step.H2OPpm > WholeMixturePpm)
            throw RowError{"a_ppm and h2o_ppm add up to more than 1000000"};
        if (!fields[GasBLimitColumn].empty()) {
            step.GasBLimit = ParseDecimal(fields[GasBLimitColumn], "b_limit");
            if (!(*step.GasBLimit > 0.0)) throw RowError{"b_limit must be more than 0 g/min"};
        }
    } else {
        for (int c = GasAColumn; c <= GasBLimitColumn; ++c)
            if (!fields[static_cast<std::size_t>(c)].empty())
                throw RowError{kindName + " takes no " + std::string(FieldNames[static_cast<std::size_t>(c)])};
    }
    if (fields[MinutesColumn].empty()) throw RowError{kindName + " needs its minutes"};
    step.Minutes = ParseDecimal(fields[MinutesColumn], "minutes");
    if (step.Minutes < 0.0) throw RowError{"minutes must not be negative"};
    return step;
}

std::string DecimalText(double value)
{
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed);
    return ec == std::errc{} ? std::string(buffer.data(), end) : std::string{};
}

}  // namespace

ParsedProgram ParseProgramRows(const std::vector<ProgramRow>& rows)
{
    MixtureProgram program;
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
    const int count = static_cast<int>(program.Steps.size());
    if (count == 0) return {std::nullopt, {rows.empty() ? 1 : rows.back().Line, "the program has no steps"}};
    for (int i = 0; i < count; ++i) {
        const ProgramStep& step = program.Steps[static_cast<std::size_t>(i)];
        const int line = lines[static_cast<std::size_t>(i)];
        if (step.Kind == StepKind::Hold && i != count - 1)
            return {std::nullopt, {line, "hold may only be the last step"}};
        if (step.Kind == StepKind::Hold && i == 0)
            return {std::nullopt, {line, "hold needs a step before it to keep running"}};
        // The next step would begin at the same instant and replace it.
        if (step.Kind != StepKind::Hold && step.Minutes == 0.0 && i < program.TimedStepCount() - 1)
            return {std::nullopt, {line, "only the last step may last 0 minutes"}};
    }
    return {std::move(program), {}};
}

ParsedProgram ParseProgram(std::string_view text)
{
    // A byte-order mark from a spreadsheet's export.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<ProgramRow> rows;
    bool headerSeen = false;
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
            while (fields.size() > FieldCount && fields.back().empty()) fields.pop_back();
            bool header = fields.size() == FieldCount;
            for (std::size_t i = 0; header && i < FieldCount; ++i) header = Lower(fields[i]) == FieldNames[i];
            if (!header)
                return {std::nullopt,
                        {line, std::string("the first line must be the header ") + ProgramFileHeader}};
            headerSeen = true;
            continue;
        }
        rows.push_back({line, std::move(fields)});
    }
    if (!headerSeen)
        return {std::nullopt, {std::max(line, 1), std::string("the header ") + ProgramFileHeader + " is missing"}};
    if (rows.empty()) return {std::nullopt, {std::max(line, 1), "the program has no steps"}};
    return ParseProgramRows(rows);
}

std::string ProgramField(const ProgramStep& step, ProgramColumn column)
{
    const bool mixture = step.Kind == StepKind::Mixture;
    switch (column) {
    case StepColumn: return std::string(StepKindName(step.Kind));
    case GasAColumn: return mixture ? std::to_string(step.GasAPpm) : std::string{};
    case H2OColumn: return mixture ? std::to_string(step.H2OPpm) : std::string{};
    case GasBLimitColumn: return mixture && step.GasBLimit ? DecimalText(*step.GasBLimit) : std::string{};
    case MinutesColumn: return step.Kind == StepKind::Hold ? std::string{} : DecimalText(step.Minutes);
    case ProgramColumnCount: break;
    }
    return {};
}

std::string WriteProgram(const MixtureProgram& program)
{
    std::string text = std::string(ProgramFileHeader) + "\n";
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
