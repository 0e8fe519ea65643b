#include "regulation/MethodActions.h"

#include <gtest/gtest.h>

namespace gasmixer {
namespace {

constexpr TFlowRegulation C = TFlowRegulation::Constant;
constexpr TFlowRegulation P = TFlowRegulation::Pulse;

TEST(MethodActionsTest, EveryMethodByItsExactName)
{
    struct Row {
        const char* name;
        bool humidified;
        TFlowRegulation a;
        TFlowRegulation b;
    };
    const Row rows[] = {
        {"A pure", false, C, C},
        {"A (constant) in B", false, C, C},
        {"A in B (limited)", false, C, C},
        {"A (constant) in B/H2O", true, C, C},
        {"A in B/H2O (limited)", true, C, C},
        {"A (pulse) in B", false, P, C},
        {"A (pulse) in B/H2O", true, P, C},
        {"B pure", false, C, C},
        {"B (constant) in A", false, C, C},
        {"B in A (limited)", false, C, C},
        {"B/H2O (constant) in A", true, C, C},
        {"B/H2O in A (limited)", true, C, C},
        {"B (pulse) in A", false, C, P},
        {"B/H2O (pulse) in A", true, C, P},
        {"B/H2O", true, C, C},
    };
    for (int index = 0; index < 15; ++index) {
        const Row& row = rows[index];
        const auto actions = MethodActionsFor(row.name);
        ASSERT_TRUE(actions.has_value()) << row.name;
        EXPECT_EQ(actions->MethodIndex, index) << row.name;
        EXPECT_EQ(actions->Humidified, row.humidified) << row.name;
        EXPECT_EQ(actions->GasA, row.a) << row.name;
        EXPECT_EQ(actions->GasB, row.b) << row.name;
    }
}

TEST(MethodActionsTest, ATextThatNamesNoMethodHasNoActions)
{
    for (const char* name : {"", "a pure", "A pure ", "B/H2O (Pulse) in A", "Undefined"}) {
        EXPECT_FALSE(MethodActionsFor(name).has_value()) << '"' << name << '"';
    }
}

}  // namespace
}  // namespace gasmixer
