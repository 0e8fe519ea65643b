#include "records/JournalText.h"

#include "records/RecordFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gasmixer::test {
namespace {

const std::string Header = "Time;Mode\r\n";

std::string Journal(const std::vector<std::string>& lines)
{
    std::string text = Header;
    for (const std::string& line : lines) text += line;
    return text;
}

std::string Plan(int record, const std::string& planText)
{
    std::string text;
    for (const std::string& line : JournalPlanLines(record, planText)) text += line;
    return text;
}

TEST(JournalTextTest, APlanComesBackAsTheSavedFilesPreambleWritesIt)
{
    for (const std::string planText : {"Mixing method: A in B\nFlow A: 0.1 ln/min\n", "",
                                       "quotes \"x\"; semicolons;\r\nCR LF\rCR\n  indented",
                                       "20 \u00baC \u20ac"}) {
        SCOPED_TRACE(planText);
        const JournalContent journal = ReadJournalText(Journal({Plan(1, planText), "09:30:00;Dilution\r\n"}));
        EXPECT_EQ(RecoveredTableFile(journal), RecordFilePreamble(planText) + Header + "09:30:00;Dilution\r\n");
    }
}

TEST(JournalTextTest, TheLastPlanRowsWrittenAnewAndSavesAreRead)
{
    const JournalContent journal = ReadJournalText(Journal({
        ";Reset\r\n",
        Plan(1, "first plan\nof two lines\n"),
        JournalRowMarker(1),
        "09:30:00;Dilution\r\n",
        "09:30:01;Dilution\r\n",
        JournalSavedLine(2),
        ";Reset\r\n",
        Plan(2, "second\n"),
        "09:31:00;Dilution\r\n",
        "09:31:01;Dil",  // torn by the crash
    }));
    EXPECT_EQ(journal.HeaderLine, Header);
    EXPECT_EQ(journal.PlanLines, (std::vector<std::string>{"second", ""}));
    EXPECT_EQ(journal.Rows, (std::vector<std::string>{"09:30:00;Dilution\r\n", "09:30:01;Dilution\r\n", ";Reset\r\n",
                                                      "09:31:00;Dilution\r\n"}));
    EXPECT_EQ(journal.SavedRows, 2);
    EXPECT_TRUE(journal.Unsaved());
}

TEST(JournalTextTest, ARunIsUnsavedUntilASaveHoldsItsLastRowOrTheOperatorDeclines)
{
    const std::string rows = Plan(1, "plan\n") + "09:30:00;Dilution\r\n09:30:01;Dilution\r\n";
    struct Case {
        std::vector<std::string> after;
        bool unsaved;
    };
    for (const Case& c : {Case{{}, true}, Case{{JournalSavedLine(1)}, true}, Case{{JournalSavedLine(2)}, false},
                          Case{{JournalSavedLine(2), JournalSavedLine(1)}, false},
                          Case{{JournalDeclinedLine()}, false}}) {
        std::string text = Journal({rows});
        for (const std::string& line : c.after) text += line;
        EXPECT_EQ(ReadJournalText(text).Unsaved(), c.unsaved) << text;
    }
    EXPECT_FALSE(ReadJournalText(Header + Plan(1, "plan\n")).Unsaved()) << "no rows";
    EXPECT_FALSE(ReadJournalText(Journal({"09:30:00;Dilution\r\n"})).Unsaved())
        << "a journal from before saves were marked: unknown, not offered";
}

}  // namespace
}  // namespace gasmixer::test
