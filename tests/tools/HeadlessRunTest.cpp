// What gasmixer-run prints of the delivery watch: the alarm's own line,
// marked, and nothing for an alarm that ended with the mixture.
#include "tools/HeadlessRun.h"

#include <gtest/gtest.h>

#include <sstream>

namespace gasmixer {
namespace {

TEST(HeadlessRun, PrintsEachDeliveryAlarmLineOnItsOwnLine)
{
    std::ostringstream out;
    std::ostringstream err;
    HeadlessRun run(RunOptions{}, out, err);
    run.DeliveryAlarmChanged({'A', true, "Gas A delivery short: 0.000 000 g of 0.500 000 g in the last minute", 0.0});
    run.DeliveryAlarmChanged({'A', false, "Gas A delivery recovered", 0.0});
    run.DeliveryAlarmChanged({'B', false, {}, 0.0});
    EXPECT_EQ(out.str(),
              "alarm;Gas A delivery short: 0.000 000 g of 0.500 000 g in the last minute\n"
              "alarm;Gas A delivery recovered\n");
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace gasmixer
