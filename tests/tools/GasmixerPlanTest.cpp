#include "PlanProcess.h"

#include "common/TextFormat.h"
#include "mixing/MixturePlanner.h"
#include "uncertainty/MixtureUncertainty.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gasmixer {
namespace {

using test::PlanRun;
using test::RunPlan;

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// The request the tool makes by default: the imaginary mixer's controllers,
// half of gas B's full scale, the bubbler at 20 ºC.
PlanInput DefaultInput(const char* gasA, const char* gasB, int a, int w)
{
    PlanInput in;
    in.GasAPpm = a;
    in.GasBPpm = 1'000'000 - a - w;
    in.H2OPpm = w;
    in.PH2O = WaterVapourPressure(20.0f);
    in.GasBLimit = 0.5;
    in.CompoundA = FindCompound(gasA);
    in.CompoundB = FindCompound(gasB);
    in.FlowInfoA = FakeFlowInfoA();
    in.FlowInfoB = FakeFlowInfoB();
    return in;
}

QJsonObject ParseJson(const std::string& text)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(doc.isObject());
    return doc.object();
}

TEST(GasmixerPlan, PrintsTheWindowsReport)
{
    for (const auto& [a, w] : {std::pair{150, 0}, {150, 10000}, {600000, 0}}) {
        const PlanRun run = RunPlan(
            {"--gas-a", "O2", "--gas-b", "Ar", "--a-ppm", QString::number(a), "--h2o-ppm", QString::number(w)});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, Joined(PlanMixture(DefaultInput("O2", "Ar", a, w)).Report)) << a << " " << w;
    }
}

TEST(GasmixerPlan, ControllerOptionsReplaceRangeAndDefaultLimit)
{
    const PlanRun run = RunPlan(
        {"--gas-a", "H2", "--gas-b", "N2", "--a-ppm", "5000", "--mfc-a", "0.01:50", "--mfc-b", "2.0:50"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // 2.0 / 50 as a single-precision minimum is 0.039 999 999 1.
    for (const char* line :
         {"  Turndown ratio : 50\n", "  Min flow of gas A : 0.000 200 000 g/min\n",
          "  Max flow of gas A : 0.010 000 000 g/min\n", "  Min flow of gas B : 0.039 999 999 g/min\n",
          "  Max flow of gas B : 1.000 000 000 g/min\n", "Limiting flow for gas B leads to increased\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;

    const PlanRun atFullScale =
        RunPlan({"--gas-a", "H2", "--gas-b", "N2", "--a-ppm", "5000", "--mfc-b", "2.0:50", "--b-limit", "2"});
    ASSERT_EQ(atFullScale.exitCode, 0) << atFullScale.err;
    EXPECT_NE(atFullScale.out.find("  Max flow of gas B : 2.000 000 000 g/min\n"), std::string::npos);
    EXPECT_EQ(atFullScale.out.find("Limiting flow"), std::string::npos);
}

TEST(GasmixerPlan, JsonCarriesThePlanExactly)
{
    const PlanRun run =
        RunPlan({"--gas-a", "O2", "--gas-b", "Ar", "--a-ppm", "150", "--h2o-ppm", "10000", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QJsonObject json = ParseJson(run.out);
    const PlanResult plan = PlanMixture(DefaultInput("O2", "Ar", 150, 10000));

    EXPECT_EQ(json["method"].toString().toStdString(), "A (pulse) in B/H2O");
    EXPECT_EQ(json["defined"].toBool(), true);
    EXPECT_EQ(json["a_ppm"].toInt(), 150);
    EXPECT_EQ(json["b_ppm"].toInt(), 989850);
    EXPECT_EQ(json["h2o_ppm"].toInt(), 10000);
    EXPECT_EQ(json["max_mass_ppm"].toInteger(), plan.MaxMassPpm);
    EXPECT_EQ(json["flow_a"].toDouble(), plan.RequiredFlowA);
    EXPECT_EQ(json["wetting_fraction"].toDouble(), plan.WettingFraction);
    EXPECT_EQ(static_cast<float>(json["timescale_a"].toDouble()), plan.TimescaleA);
    EXPECT_EQ(static_cast<float>(json["rel_a"].toDouble()), plan.RelA);
    EXPECT_EQ(static_cast<float>(json["q_b"].toDouble()), plan.QB);
    EXPECT_EQ(json["required_flow_b"].toDouble(), plan.RequiredFlowB);

    const QJsonArray report = json["report"].toArray();
    ASSERT_EQ(static_cast<std::size_t>(report.size()), plan.Report.size());
    for (qsizetype i = 0; i < report.size(); ++i)
        EXPECT_EQ(report[i].toString().toStdString(), plan.Report[static_cast<std::size_t>(i)]);
}

// The budget of the plan, with the accuracy the window remembered, or the
// defaults when it remembered none.
TEST(GasmixerPlan, JsonCarriesTheUncertaintyBudget)
{
    const QStringList args{"--gas-a", "O2", "--gas-b", "Ar", "--a-ppm", "150", "--h2o-ppm", "10000", "--json"};
    const PlanInput input = DefaultInput("O2", "Ar", 150, 10000);
    const PlanResult plan = PlanMixture(input);
    QTemporaryDir config;
    TAccuracySettings remembered;
    remembered.ControllerA.ReadingPercent = 2.0;
    QSettings(config.path() + "/gasmixer/gasmixer.conf", QSettings::IniFormat)
        .setValue("Accuracy/MfcAReadingPercent", 2.0);

    for (const auto& [folder, accuracy] : {std::pair{QString(), TAccuracySettings{}}, std::pair{config.path(), remembered}}) {
        const PlanRun run = RunPlan(args, {}, folder);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const QJsonObject u = ParseJson(run.out)["uncertainty"].toObject();
        const TMixtureUncertainty expected = PlanUncertainty(input, plan, accuracy);
        EXPECT_EQ(u["coverage_factor"].toDouble(), 2.0);
        int s = 0;
        for (const char* key : {"a_ppm", "b_ppm", "h2o_ppm"}) {
            const QJsonObject species = u[key].toObject();
            EXPECT_EQ(species["ppm"].toDouble(), expected.Species[s].Ppm) << key;
            EXPECT_EQ(species["expanded"].toDouble(), expected.Species[s].Expanded) << key;
            ++s;
        }
        const QJsonArray budget = u["budget"].toArray();
        ASSERT_EQ(static_cast<std::size_t>(budget.size()), expected.Budget.size());
        double sharesOfA = 0.0;
        for (qsizetype i = 0; i < budget.size(); ++i) {
            const QJsonObject line = budget[i].toObject();
            EXPECT_EQ(line["input"].toString().toStdString(), expected.Budget[static_cast<std::size_t>(i)].Input);
            EXPECT_EQ(line["contribution"].toArray().size(), 3);
            sharesOfA += line["share"].toArray()[0].toDouble();
        }
        EXPECT_NEAR(sharesOfA, 1.0, 1e-12);
    }
}

TEST(GasmixerPlan, WaterIsCappedAtSaturationUnlessFake)
{
    const PlanRun capped = RunPlan({"--gas-a", "O2", "--gas-b", "Ar", "--a-ppm", "150", "--h2o-ppm", "30000",
                                    "--ph2o", "0.023", "--json"});
    ASSERT_EQ(capped.exitCode, 0) << capped.err;
    const QJsonObject json = ParseJson(capped.out);
    // (1 000 000 - 150) x 0.023 = 22 996.55
    EXPECT_EQ(json["h2o_ppm"].toInt(), 22997);
    EXPECT_EQ(json["b_ppm"].toInt(), 976853);
    EXPECT_EQ(capped.err, "gasmixer-plan: water reduced to 22997 ppm, what gas B saturated at --ph2o can carry "
                          "(--fake keeps it)\n");

    const PlanRun fake = RunPlan({"--gas-a", "O2", "--gas-b", "Ar", "--a-ppm", "150", "--h2o-ppm", "30000",
                                  "--ph2o", "0.023", "--fake", "--json"});
    ASSERT_EQ(fake.exitCode, 0) << fake.err;
    EXPECT_EQ(ParseJson(fake.out)["h2o_ppm"].toInt(), 30000);
    EXPECT_EQ(fake.err, "");
}

TEST(GasmixerPlan, FakeMixerWithoutGasB)
{
    const PlanRun run =
        RunPlan({"--gas-a", "O2", "--gas-b", "Ar", "--a-ppm", "990000", "--h2o-ppm", "10000", "--fake", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QJsonObject json = ParseJson(run.out);
    EXPECT_EQ(json["method"].toString().toStdString(), "B/H2O (pulse) in A");
    EXPECT_EQ(json["b_ppm"].toInt(), 0);
    EXPECT_EQ(json["wetting_fraction"].toDouble(), 0.0);
}

TEST(GasmixerPlan, NoPlanIsNotSuccess)
{
    const QStringList waterOnly = {"--gas-a", "O2", "--gas-b", "Ar", "--a-ppm",
                                   "0", "--h2o-ppm", "1000000", "--fake"};
    const PlanRun text = RunPlan(waterOnly);
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_EQ(text.out, "No mixing plan exists for a mixture without gas A and gas B\n");

    const PlanRun json = RunPlan(waterOnly + QStringList{"--json"});
    EXPECT_EQ(json.exitCode, 1);
    const QJsonObject object = ParseJson(json.out);
    EXPECT_TRUE(object["method"].isNull());
    EXPECT_EQ(object["defined"].toBool(true), false);
    EXPECT_TRUE(object["flow_a"].isNull());
    EXPECT_TRUE(object["uncertainty"].isNull());
    EXPECT_EQ(object["h2o_ppm"].toInt(), 1000000);
}

TEST(GasmixerPlan, UnwritableOutputIsAFailure)
{
    const PlanRun run = RunPlan({"--gas-a", "O2", "--gas-b", "Ar", "--a-ppm", "150"}, "/dev/full");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "gasmixer-plan: cannot write the output\n");
}

TEST(GasmixerPlan, HelpExplainsEveryOption)
{
    const PlanRun run = RunPlan({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option : {"--gas-a", "--gas-b", "--a-ppm", "--h2o-ppm", "--ph2o", "--b-limit", "--mfc-a",
                               "--mfc-b", "--fake", "--json", "ppm", "atm", "g/min"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace gasmixer
