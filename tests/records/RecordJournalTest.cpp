#include "records/RecordJournal.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace gasmixer::test {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class RecordJournalTest : public ::testing::Test {
protected:
    fs::path folder;
    std::vector<std::string> problems;

    void SetUp() override
    {
        char name[] = "/tmp/gm-journal-XXXXXX";
        folder = ::mkdtemp(name);
    }
    void TearDown() override { fs::remove_all(folder); }

    TRecordJournal::ProblemSink Collect()
    {
        return [this](const std::string& problem) { problems.push_back(problem); };
    }
};

TEST_F(RecordJournalTest, TheFileIsCreatedWithTheFirstRowAndHeadedOnce)
{
    const fs::path state = folder / "state" / "gasmixer";
    TRecordJournal journal(state, "run.csv", "Time;Mode\r\n", Collect());
    EXPECT_FALSE(fs::exists(state)) << "nothing on disk before a row is stored";

    journal.Append("09:30:00;Dilution\r\n");
    journal.WaitIdle();
    journal.Append("09:30:01;Dilution\r\n");
    journal.Append("09:30:02;Bypass\r\n");
    journal.WaitIdle();

    EXPECT_EQ(journal.Path(), (state / "run.csv").string());
    EXPECT_EQ(ReadAll(state / "run.csv"),
              "Time;Mode\r\n09:30:00;Dilution\r\n09:30:01;Dilution\r\n09:30:02;Bypass\r\n");
    EXPECT_TRUE(problems.empty());
}

TEST_F(RecordJournalTest, RowsAreInTheFileWithoutAnOrderlyEnd)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto* journal = new TRecordJournal(folder.string(), "run.csv", "H\r\n", nullptr);
        journal->Append("row 1\r\n");
        journal->Append("row 2\r\n");
        journal->WaitIdle();
        ::_exit(0);  // as a crash: no destructor, no close
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(ReadAll(folder / "run.csv"), "H\r\nrow 1\r\nrow 2\r\n");
}

TEST_F(RecordJournalTest, AFolderThatCannotBeCreatedIsReportedOnceAndRowsAreDropped)
{
    {
        std::ofstream(folder / "plain file") << "x";
    }
    TRecordJournal journal((folder / "plain file" / "gasmixer").string(), "run.csv", "H\r\n", Collect());
    for (int i = 0; i < 3; ++i) {
        journal.Append("row\r\n");
        journal.WaitIdle();
    }
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("Record journal not kept"), std::string::npos) << problems[0];
}

TEST_F(RecordJournalTest, ItsFolderFollowsTheStateHomeAndFallsBackToHome)
{
    {
        const ScopedEnv state("XDG_STATE_HOME", "/srv/state");
        EXPECT_EQ(DefaultJournalFolder(), "/srv/state/gasmixer");
    }
    const ScopedEnv home("HOME", "/home/op");
    for (const char* unset : {static_cast<const char*>(nullptr), ""}) {
        const ScopedEnv state("XDG_STATE_HOME", unset);
        EXPECT_EQ(DefaultJournalFolder(), "/home/op/.local/state/gasmixer");
    }
}

}  // namespace
}  // namespace gasmixer::test
