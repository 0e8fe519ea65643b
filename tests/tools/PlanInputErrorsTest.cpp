#include "PlanProcess.h"

#include <gtest/gtest.h>

#include <string>

namespace gasmixer {
namespace {

using test::PlanRun;
using test::RunPlan;

struct BadInput {
    QStringList extra;  // after a valid --gas-a O2 --gas-b Ar, unless replacing it
    std::string error;  // the one line after "gasmixer-plan: "
    bool replaceBase = false;
};

class PlanBadInput : public testing::TestWithParam<BadInput> {};

// Every unusable command line is refused with status 2 and one line that
// names what is wrong; nothing is planned from a value the user did not mean.
TEST_P(PlanBadInput, RefusedWithOneLine)
{
    const BadInput& c = GetParam();
    const QStringList args = c.replaceBase ? c.extra : QStringList{"--gas-a", "O2", "--gas-b", "Ar"} + c.extra;
    const PlanRun run = RunPlan(args);
    SCOPED_TRACE(args.join(' ').toStdString());
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "gasmixer-plan: " + c.error + "\n");
}

const std::string NotFound = "' It is not recommended to continue the program before the problem is fixed";

INSTANTIATE_TEST_SUITE_P(
    Gases, PlanBadInput,
    testing::Values(
        BadInput{{"--gas-a", "Xe", "--gas-b", "Ar", "--a-ppm", "1"},
                 "Molar mass could not be found for search item 'Xe" + NotFound, true},
        BadInput{{"--gas-a", "O2", "--gas-b", "ar", "--a-ppm", "1"},
                 "Molar mass could not be found for search item 'ar" + NotFound, true},
        BadInput{{"--gas-a", "", "--gas-b", "Ar", "--a-ppm", "1"},
                 "Molar mass could not be found for search item '" + NotFound, true}));

INSTANTIATE_TEST_SUITE_P(
    Fractions, PlanBadInput,
    testing::Values(BadInput{{"--a-ppm", "15x"}, "--a-ppm expects a whole number of ppm, got '15x'"},
                    BadInput{{"--a-ppm", "1.5"}, "--a-ppm expects a whole number of ppm, got '1.5'"},
                    BadInput{{"--a-ppm", " 15"}, "--a-ppm expects a whole number of ppm, got ' 15'"},
                    BadInput{{"--a-ppm", "+15"}, "--a-ppm expects a whole number of ppm, got '+15'"},
                    BadInput{{"--a-ppm", ""}, "--a-ppm expects a whole number of ppm, got ''"},
                    BadInput{{"--a-ppm", "99999999999"},
                             "--a-ppm expects a whole number of ppm, got '99999999999'"},
                    BadInput{{"--a-ppm", "-1"}, "--a-ppm must lie between 0 and 1000000 ppm, got '-1'"},
                    BadInput{{"--a-ppm", "1000001"}, "--a-ppm must lie between 0 and 1000000 ppm, got '1000001'"},
                    BadInput{{"--a-ppm", "1", "--h2o-ppm", "2000000"},
                             "--h2o-ppm must lie between 0 and 1000000 ppm, got '2000000'"},
                    BadInput{{"--a-ppm", "600000", "--h2o-ppm", "500000", "--fake"},
                             "--a-ppm 600000 and --h2o-ppm 500000 leave -100000 ppm for gas B"},
                    BadInput{{"--a-ppm", "600000", "--h2o-ppm", "500000", "--ph2o", "2"},
                             "--a-ppm 600000 and --h2o-ppm 500000 leave -100000 ppm for gas B"}));

INSTANTIATE_TEST_SUITE_P(
    Numbers, PlanBadInput,
    testing::Values(
        BadInput{{"--a-ppm", "1", "--ph2o", "0.02x"}, "--ph2o expects a vapour pressure in atm, got '0.02x'"},
        BadInput{{"--a-ppm", "1", "--ph2o", "0,023"}, "--ph2o expects a vapour pressure in atm, got '0,023'"},
        BadInput{{"--a-ppm", "1", "--ph2o", "nan"}, "--ph2o expects a vapour pressure in atm, got 'nan'"},
        BadInput{{"--a-ppm", "1", "--ph2o", "inf"}, "--ph2o expects a vapour pressure in atm, got 'inf'"},
        BadInput{{"--a-ppm", "1", "--ph2o", "1e999"}, "--ph2o expects a vapour pressure in atm, got '1e999'"},
        BadInput{{"--a-ppm", "1", "--ph2o", "-0.01"}, "--ph2o must not be negative, got '-0.01'"},
        BadInput{{"--a-ppm", "1", "--b-limit", "0.5g"}, "--b-limit expects a flow in g/min, got '0.5g'"},
        BadInput{{"--a-ppm", "1", "--b-limit", "0"},
                 "--b-limit must lie between the minimum and the full scale of controller B, got '0'"},
        BadInput{{"--a-ppm", "1", "--b-limit", "1.5"},
                 "--b-limit must lie between the minimum and the full scale of controller B, got '1.5'"},
        // The limit is checked against the controller given later on the line.
        BadInput{{"--a-ppm", "1", "--b-limit", "0.01", "--mfc-b", "2:50"},
                 "--b-limit must lie between the minimum and the full scale of controller B, got '0.01'"}));

const std::string ControllerFormat = " expects FULLSCALE:TURNDOWN (g/min and a whole ratio), got ";
const std::string ControllerRange = " needs a positive full scale and turn-down ratio, got ";

INSTANTIATE_TEST_SUITE_P(
    Controllers, PlanBadInput,
    testing::Values(BadInput{{"--a-ppm", "1", "--mfc-a", "2"}, "--mfc-a" + ControllerFormat + "'2'"},
                    BadInput{{"--a-ppm", "1", "--mfc-a", "2:"}, "--mfc-a" + ControllerFormat + "'2:'"},
                    BadInput{{"--a-ppm", "1", "--mfc-a", ":50"}, "--mfc-a" + ControllerFormat + "':50'"},
                    BadInput{{"--a-ppm", "1", "--mfc-a", "2:50:1"}, "--mfc-a" + ControllerFormat + "'2:50:1'"},
                    BadInput{{"--a-ppm", "1", "--mfc-a", "2:5.5"}, "--mfc-a" + ControllerFormat + "'2:5.5'"},
                    BadInput{{"--a-ppm", "1", "--mfc-b", "2:-5"}, "--mfc-b" + ControllerFormat + "'2:-5'"},
                    BadInput{{"--a-ppm", "1", "--mfc-b", "nan:5"}, "--mfc-b" + ControllerFormat + "'nan:5'"},
                    BadInput{{"--a-ppm", "1", "--mfc-a", "0:50"}, "--mfc-a" + ControllerRange + "'0:50'"},
                    BadInput{{"--a-ppm", "1", "--mfc-a", "-1:50"}, "--mfc-a" + ControllerRange + "'-1:50'"},
                    BadInput{{"--a-ppm", "1", "--mfc-a", "1e-50:50"}, "--mfc-a" + ControllerRange + "'1e-50:50'"},
                    BadInput{{"--a-ppm", "1", "--mfc-b", "1e39:50"}, "--mfc-b" + ControllerRange + "'1e39:50'"},
                    BadInput{{"--a-ppm", "1", "--mfc-b", "2:0"}, "--mfc-b" + ControllerRange + "'2:0'"}));

INSTANTIATE_TEST_SUITE_P(
    CommandLine, PlanBadInput,
    testing::Values(BadInput{{}, "option --a-ppm is required"},
                    BadInput{{"--gas-b", "Ar", "--a-ppm", "1"}, "option --gas-a is required", true},
                    BadInput{{"--a-ppm"}, "option --a-ppm needs a value"},
                    BadInput{{"--a-ppm", "--json"}, "option --a-ppm needs a value"},
                    BadInput{{"--a-ppm", "1", "--mfc-b"}, "option --mfc-b needs a value"},
                    BadInput{{"--a-ppm", "1", "--a-ppm", "2"}, "option --a-ppm is given twice"},
                    BadInput{{"--a-ppm", "1", "--json", "--json"}, "option --json is given twice"},
                    BadInput{{"--a-ppm", "1", "--verbose"}, "unknown option '--verbose' (see --help)"},
                    BadInput{{"--a-ppm=1"}, "unknown option '--a-ppm=1' (see --help)"},
                    BadInput{{"--a-ppm", "1", "extra"}, "unknown option 'extra' (see --help)"}));

}  // namespace
}  // namespace gasmixer
