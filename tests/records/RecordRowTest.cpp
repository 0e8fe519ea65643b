#include "records/RecordRow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace gasmixer::test {
namespace {

// Round molar masses keep the cases workable by hand: A 32, B 28, water 18.
RecordInputs DryDilution()
{
    RecordInputs in;
    in.Now = 45000.5;
    in.MinutesSinceReset = 90.0;
    in.ModeName = "Dilution";
    in.MixingMethod = "A (constant) in B";
    in.GasAGrams = 0.032;
    in.GasBGrams = 28.0;
    in.RequiredFlowB = 0.5;
    in.PH2O = 0.03;
    in.InverseMolarMassGasBEntry = 1.0 / 28.0;
    in.InverseMolarMassA = 1.0 / 32.0;
    in.InverseMolarMassB = 1.0 / 28.0;
    in.InverseMolarMassH2O = 1.0 / 18.0;
    in.H2OMolarMass = 18.0;
    return in;
}

void ExpectValue(const RecordRow& row, RecordField field, double expected)
{
    ASSERT_TRUE(row.Values[field].has_value()) << "field " << field;
    EXPECT_NEAR(*row.Values[field], expected, 1e-9 * std::max(1.0, std::fabs(expected))) << "field " << field;
}

void ExpectEmpty(const RecordRow& row, std::initializer_list<RecordField> fields)
{
    for (const RecordField field : fields) EXPECT_FALSE(row.Values[field].has_value()) << "field " << field;
}

TEST(RecordRowTest, DryPlanHasZeroWaterAndNoWaterLogarithm)
{
    const RecordRow row = ComputeRecordRow(DryDilution());
    EXPECT_EQ(row.Mode, "Dilution");
    EXPECT_EQ(row.Method, "A (constant) in B");
    EXPECT_DOUBLE_EQ(row.Time(), 45000.5);
    EXPECT_NEAR(row.MinutesSinceReset, 90.0, 1e-6);
    EXPECT_EQ(row.ProtectiveBGrams, 0.0);

    ExpectValue(row, FieldGasA, 0.032);
    ExpectValue(row, FieldGasB, 28.0);
    ExpectValue(row, FieldH2O, 0.0);
    ExpectValue(row, FieldTotalMass, 28.032);
    ExpectValue(row, FieldAMassFrac, 0.032 / 28.032);
    ExpectValue(row, FieldBMassFrac, 28.0 / 28.032);
    ExpectValue(row, FieldH2OMassFrac, 0.0);
    ExpectValue(row, FieldMolesA, 0.001);
    ExpectValue(row, FieldMolesB, 1.0);
    ExpectValue(row, FieldMolesH2O, 0.0);
    ExpectValue(row, FieldTotalMoles, 1.001);
    ExpectValue(row, FieldAPpm, 0.001 / 1.001 * 1e6);
    ExpectValue(row, FieldBPpm, 1.0 / 1.001 * 1e6);
    ExpectValue(row, FieldH2OPpm, 0.0);
    ExpectValue(row, FieldLogPA, std::log10(0.001 / 1.001));
    ExpectValue(row, FieldLogPB, std::log10(1.0 / 1.001));
    ExpectEmpty(row, {FieldLogPH2O});
}

TEST(RecordRowTest, HumidifiedPlanCountsTheWaterCarriedThroughTheBubbler)
{
    RecordInputs in = DryDilution();
    in.MixingMethod = "A (constant) in B/H2O";
    in.WetTimeOccurred = 120.0;  // 2 min at 0.5 g/min: 1 g of B, 1/28 mol, carrying 0.03/28 mol water
    const RecordRow row = ComputeRecordRow(in);

    ExpectValue(row, FieldH2O, 0.019285714285714285);
    ExpectValue(row, FieldTotalMass, 28.051285714285715);
    ExpectValue(row, FieldAMassFrac, 0.0011407676755330798);
    ExpectValue(row, FieldBMassFrac, 0.9981717160914447);
    ExpectValue(row, FieldH2OMassFrac, 0.0006875162330221684);
    ExpectValue(row, FieldMolesH2O, 0.03 / 28.0);
    ExpectValue(row, FieldTotalMoles, 1.0020714285714285);
    ExpectValue(row, FieldAPpm, 997.9328533751516);
    ExpectValue(row, FieldBPpm, 997932.8533751516);
    ExpectValue(row, FieldH2OPpm, 1069.2137714733765);
    ExpectValue(row, FieldLogPA, -3.000898679543993);
    ExpectValue(row, FieldLogPB, -0.0008986795439928148);
    ExpectValue(row, FieldLogPH2O, -2.9709354561665497);
}

TEST(RecordRowTest, AllTotalsZeroShowZeroAmountsAndNoRatios)
{
    RecordInputs in = DryDilution();
    in.ModeName = "Standby";
    in.GasAGrams = 0.0;
    in.GasBGrams = 0.0;
    const RecordRow row = ComputeRecordRow(in);

    EXPECT_EQ(row.Method, "");
    for (const RecordField field : {FieldGasA, FieldGasB, FieldH2O, FieldTotalMass, FieldTotalMoles, FieldMolesA,
                                    FieldMolesB, FieldMolesH2O}) {
        ExpectValue(row, field, 0.0);
    }
    ExpectEmpty(row, {FieldAMassFrac, FieldBMassFrac, FieldH2OMassFrac, FieldAPpm, FieldBPpm, FieldH2OPpm,
                      FieldLogPA, FieldLogPB, FieldLogPH2O});
}

TEST(RecordRowTest, MethodCellFollowsTheMode)
{
    struct Case {
        const char* mode;
        const char* method;
    };
    for (const Case c : {Case{"Dilution", "A (constant) in B"}, Case{"Bypass", "Dry B"}, Case{"Standby", ""},
                         Case{"Flushing", ""}, Case{"Unknown", ""}}) {
        RecordInputs in = DryDilution();
        in.ModeName = c.mode;
        const RecordRow row = ComputeRecordRow(in);
        EXPECT_EQ(row.Mode, c.mode);
        EXPECT_EQ(row.Method, c.method) << c.mode;
    }
}

TEST(RecordRowTest, NoGasAGivesZeroAPpmButNoALogarithm)
{
    RecordInputs in = DryDilution();
    in.GasAGrams = 0.0;
    const RecordRow row = ComputeRecordRow(in);
    ExpectValue(row, FieldAPpm, 0.0);
    ExpectValue(row, FieldBPpm, 1e6);
    ExpectValue(row, FieldLogPB, 0.0);
    ExpectEmpty(row, {FieldLogPA, FieldLogPH2O});
}

TEST(RecordRowTest, NonFiniteTotalsLeaveTheirCellsEmptyAndKeepTimeModeAndMethod)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const double bad : {nan, inf, -inf}) {
        RecordInputs in = DryDilution();
        in.GasAGrams = bad;
        in.GasBGrams = nan;
        const RecordRow row = ComputeRecordRow(in);
        EXPECT_EQ(row.Mode, "Dilution");
        EXPECT_EQ(row.Method, "A (constant) in B");
        EXPECT_DOUBLE_EQ(row.Time(), in.Now);
        ExpectValue(row, FieldH2O, 0.0);
        ExpectValue(row, FieldMolesH2O, 0.0);
        for (int field = FieldGasA; field < RecordFieldCount; ++field) {
            const auto& value = row.Values[static_cast<std::size_t>(field)];
            if (value) {
                EXPECT_TRUE(std::isfinite(*value)) << "field " << field;
            }
        }
        ExpectEmpty(row, {FieldGasA, FieldGasB, FieldTotalMass, FieldTotalMoles, FieldAPpm, FieldLogPA, FieldLogPB});
    }
}

TEST(RecordRowTest, AnUnknownGasBEntryOnlyLosesTheWaterTerms)
{
    // Before a gas is chosen the list entry has no molar mass: 1/0.
    RecordInputs in = DryDilution();
    in.InverseMolarMassGasBEntry = std::numeric_limits<double>::infinity();
    in.WetTimeOccurred = 0.0;
    const RecordRow row = ComputeRecordRow(in);
    ExpectEmpty(row, {FieldH2O, FieldTotalMass, FieldTotalMoles, FieldAPpm});
    ExpectValue(row, FieldGasA, 0.032);
    ExpectValue(row, FieldMolesB, 1.0);
}

}  // namespace
}  // namespace gasmixer::test
