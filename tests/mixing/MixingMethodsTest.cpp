#include "mixing/MixingMethods.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gasmixer {
namespace {

struct MethodRow {
    const char* name;
    bool wet;
    bool pulseA;
    bool pulseB;
};

// Position, name and how each method drives the mixer; the position is what
// valves, wetting and regulation decode.
const std::vector<MethodRow> Methods = {
    {"A pure", false, false, false},
    {"A (constant) in B", false, false, false},
    {"A in B (limited)", false, false, false},
    {"A (constant) in B/H2O", true, false, false},
    {"A in B/H2O (limited)", true, false, false},
    {"A (pulse) in B", false, true, false},
    {"A (pulse) in B/H2O", true, true, false},
    {"B pure", false, false, false},
    {"B (constant) in A", false, false, false},
    {"B in A (limited)", false, false, false},
    {"B/H2O (constant) in A", true, false, false},
    {"B/H2O in A (limited)", true, false, false},
    {"B (pulse) in A", false, false, true},
    {"B/H2O (pulse) in A", true, false, true},
    {"B/H2O", true, false, false},
};

TEST(MixingMethods, PositionsNamesAndDrive)
{
    ASSERT_EQ(MixingMethodNames.size(), Methods.size());
    for (std::size_t i = 0; i < Methods.size(); ++i) {
        SCOPED_TRACE(Methods[i].name);
        const auto method = FindMixingMethod(Methods[i].name);
        ASSERT_TRUE(method.has_value());
        EXPECT_EQ(MixingMethodIndex(*method), static_cast<int>(i));
        EXPECT_EQ(MixingMethodName(*method), Methods[i].name);
        EXPECT_EQ(IsHumidifiedMethod(*method), Methods[i].wet);
        EXPECT_EQ(IsPulseAMethod(*method), Methods[i].pulseA);
        EXPECT_EQ(IsPulseBMethod(*method), Methods[i].pulseB);
    }
}

TEST(MixingMethods, LookupIsExact)
{
    for (const char* text : {"", "a pure", "A pure ", "B/H2O (pulse) in a", "pulse"})
        EXPECT_FALSE(FindMixingMethod(text).has_value()) << '"' << text << '"';
}

}  // namespace
}  // namespace gasmixer
