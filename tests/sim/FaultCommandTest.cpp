#include "sim/FaultCommand.h"

#include <gtest/gtest.h>

namespace gasmixer::sim {
namespace {

using namespace std::chrono_literals;

TEST(FaultCommand, SetsAndClearsFaults)
{
    struct Case {
        const char* line;
        FaultCommand expected;
    };
    const std::vector<FaultTarget> all{FaultTarget::Mfc1, FaultTarget::Mfc2, FaultTarget::Relay};
    const Case cases[] = {
        {"fault mfc1 silent", {{FaultTarget::Mfc1}, {FaultKind::Silent}}},
        {"  fault   relay garbage  ", {{FaultTarget::Relay}, {FaultKind::Garbage}}},
        {"fault mfc2 vanish # comes back never", {{FaultTarget::Mfc2}, {FaultKind::Vanish}}},
        {"fault mfc1 badcrc", {{FaultTarget::Mfc1}, {FaultKind::CorruptChecksum}}},
        {"fault relay exception", {{FaultTarget::Relay}, {FaultKind::Exception}}},
        {"fault mfc2 truncated", {{FaultTarget::Mfc2}, {FaultKind::Truncated}}},
        {"fault mfc1 delayed 250", {{FaultTarget::Mfc1}, {FaultKind::Delayed, 250ms}}},
        {"fault mfc2 noflow", {{FaultTarget::Mfc2}, {FaultKind::NoFlow}}},
        {"clear mfc2", {{FaultTarget::Mfc2}, {}}},
        {"clear all", {all, {}}},
    };
    for (const Case& c : cases) {
        const ParsedCommand parsed = ParseFaultCommand(c.line);
        ASSERT_TRUE(std::holds_alternative<FaultCommand>(parsed)) << c.line;
        EXPECT_EQ(std::get<FaultCommand>(parsed), c.expected) << c.line;
    }
}

TEST(FaultCommand, BlankLinesAndCommentsAskNothing)
{
    for (const char* line : {"", "   ", "# fault mfc1 silent", "\t"})
        EXPECT_TRUE(std::holds_alternative<NoCommand>(ParseFaultCommand(line))) << line;
}

TEST(FaultCommand, WrongLinesSayWhy)
{
    const struct {
        const char* line;
        const char* reason;
    } cases[] = {
        {"faults mfc1 silent", "unknown command faults"},
        {"fault mfc3 silent", "fault takes a device (mfc1, mfc2, relay) and a kind"},
        {"fault all silent", "fault takes a device (mfc1, mfc2, relay) and a kind"},
        {"fault mfc1", "fault takes a device (mfc1, mfc2, relay) and a kind"},
        {"fault mfc1 loud", "unknown fault loud"},
        {"fault mfc1 silent now", "too many words"},
        {"fault relay noflow", "noflow applies to mfc1 and mfc2"},
        {"fault mfc1 delayed", "delayed takes a delay in ms (0 to 600000)"},
        {"fault mfc1 delayed -5", "delayed takes a delay in ms (0 to 600000)"},
        {"fault mfc1 delayed 12x", "delayed takes a delay in ms (0 to 600000)"},
        {"clear", "clear takes one device: mfc1, mfc2, relay or all"},
        {"clear everything", "clear takes one device: mfc1, mfc2, relay or all"},
        {"FAULT mfc1 silent", "unknown command FAULT"},
    };
    for (const auto& c : cases) {
        const ParsedCommand parsed = ParseFaultCommand(c.line);
        ASSERT_TRUE(std::holds_alternative<CommandError>(parsed)) << c.line;
        EXPECT_EQ(std::get<CommandError>(parsed).Reason, c.reason) << c.line;
    }
}

}  // namespace
}  // namespace gasmixer::sim
