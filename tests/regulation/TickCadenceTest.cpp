#include "regulation/TickCadence.h"

#include "common/DateTime.h"

#include <gtest/gtest.h>

namespace gasmixer {
namespace {

TEST(TickCadenceTest, StoreDecision)
{
    struct Case {
        const char* name;
        bool modeChanged;
        bool cadenceMode;
        double sinceReset;
        double sinceLastStore;
        int intervalMinutes;
        bool due;
    };
    const Case cases[] = {
        {"a mode change stores in any mode", true, false, 0.0, 0.0, 1, true},
        {"Standby and Flushing have no cadence", false, false, 10 * OneSecond, 10 * OneSecond, 1, false},
        {"fast phase, a second passed", false, true, 10 * OneSecond, 1.5 * OneSecond, 1, true},
        {"fast phase, exactly a second", false, true, 10 * OneSecond, OneSecond, 1, false},
        {"fast phase, within the second", false, true, 10 * OneSecond, 0.5 * OneSecond, 1, false},
        {"exactly 30 s after the reset", false, true, FastStorePhase, OneHour, 0, false},
        {"after 30 s, the interval passed", false, true, 31 * OneSecond, 61 * OneSecond, 1, true},
        {"after 30 s, within the interval", false, true, 31 * OneSecond, 59 * OneSecond, 1, false},
        {"after 30 s, exactly the interval", false, true, OneHour, OneMinute, 1, false},
        {"interval 0 stores every tick", false, true, OneHour, 0.25 * OneSecond, 0, true},
        {"reset long ago, Bypass after a day", false, true, 1.0, 2 * OneMinute, 1, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StoreDue(c.modeChanged, c.cadenceMode, c.sinceReset, c.sinceLastStore, c.intervalMinutes), c.due)
            << c.name;
    }
}

TEST(TickCadenceTest, AutosaveIsHourlyAndOnlyInDilution)
{
    EXPECT_TRUE(AutosaveDue(true, 45000.0)) << "never saved: the first Dilution tick saves";
    EXPECT_TRUE(AutosaveDue(true, OneHour + OneSecond));
    EXPECT_FALSE(AutosaveDue(true, OneHour));
    EXPECT_FALSE(AutosaveDue(false, 2 * OneHour));
}

}  // namespace
}  // namespace gasmixer
