#pragma once

#include "program/MixtureProgram.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gasmixer {

// The first line of a program file that is not a comment.
inline constexpr const char* ProgramFileHeader = "step;a_ppm;h2o_ppm;b_limit;minutes";

// Where a program is wrong: a line of the file, or a row of the table.
struct ProgramError {
    int Line = 0;  // from 1
    std::string Reason;
};

struct ParsedProgram {
    std::optional<MixtureProgram> Program;  // nothing on error
    ProgramError Error;
};

// One step's five fields as written, and the line they came from.
struct ProgramRow {
    int Line = 0;
    std::vector<std::string> Fields;
};

// A program file: the header, one step a line, ';' between fields; lines
// starting with '#' and blank lines are ignored; numbers take a point as
// decimal separator whatever the locale. The header may end with the option
// "ramp_step=<minutes>", the length of a ramp's stairs.
ParsedProgram ParseProgram(std::string_view text);

// The steps alone, as the table holds them; empty rows are skipped.
ParsedProgram ParseProgramRows(const std::vector<ProgramRow>& rows,
                               double rampStepMinutes = DefaultRampStepMinutes);

// The file text of a program; ParseProgram reads it back unchanged.
std::string WriteProgram(const MixtureProgram& program);

// The fields of a step line, in file order.
enum ProgramColumn { StepColumn, GasAColumn, H2OColumn, GasBLimitColumn, MinutesColumn, ProgramColumnCount };

// A field of a step as the file writes it: empty where the step has no value.
std::string ProgramField(const ProgramStep& step, ProgramColumn column);

}  // namespace gasmixer
