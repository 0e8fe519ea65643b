// The table of a run that ended without a save comes back at the next start.
#include "RecordsFixture.h"

#include "records/JournalFolder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

namespace gasmixer::test {
namespace {

namespace fs = std::filesystem;

class RecoveryTest : public RecordsTest {
protected:
    // The journals the mixer's folder holds now.
    std::vector<JournalFile> Journals() const { return ListJournals(journalFolder); }

    // A new start of the window, whose questions get the scripted answers.
    void Restart()
    {
        form.reset();
        dialogs.Clear();
        MakeForm();
        QApplication::processEvents();
        FinishSaves();
    }

    // A run of the core that stores rows of two plans, is killed with
    // SIGKILL, and leaves what a save just before would have written.
    // Spawned, not forked: a fork from a process that runs threads is more
    // than the thread sanitizer follows.
    int KilledRun(const fs::path& reference)
    {
        int out[2];
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::string program = GASMIXER_CRASH_CHILD_PATH;
        std::string folderArgument = journalFolder;
        std::string referenceArgument = reference.string();
        char* argv[] = {program.data(), folderArgument.data(), referenceArgument.data(), nullptr};
        pid_t child = 0;
        EXPECT_EQ(::posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ), 0);
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        std::string said;
        for (char c = 0; ::read(out[0], &c, 1) == 1 && c != '\n';) said += c;
        ::close(out[0]);
        ::kill(child, SIGKILL);
        int status = 0;
        EXPECT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        EXPECT_TRUE(said.starts_with("ready ")) << said;
        return said.starts_with("ready ") ? std::stoi(said.substr(6)) : 0;
    }

    // Rows stored by this window's own run, then the window closed.
    void RunOfThisWindow(int rows, bool saveFirst)
    {
        RunDilution(0.1, 1.0);
        for (int i = 0; i < rows; ++i) {
            if (i == 1 && saveFirst) {
                form->Save(folder / "saved.csv");
                FinishSaves();
            }
            form->Mixer().StoreData();
            clock.Advance(OneSecond);
        }
    }
};

TEST_F(RecoveryTest, AKilledRunIsOfferedAtTheNextStartAndSavedAsItWouldHaveBeen)
{
    const fs::path reference = folder / "reference.csv";
    const int rows = KilledRun(reference);
    ASSERT_GT(rows, 10);

    dialogs.Answers = {true};
    dialogs.SaveAnswers = {(folder / "recovered.csv").string()};
    Restart();

    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text, "The run of 2026-12-11 09:30 ended without saving its table (" +
                                             std::to_string(rows) + " rows). Save it now?");
    ASSERT_EQ(dialogs.SaveDialogs.size(), 1u);
    EXPECT_EQ(dialogs.SaveDialogs[0].FileName, "2026-12-11 09_30");
    EXPECT_EQ(ReadAll(folder / "recovered.csv"), ReadAll(reference)) << "plan and rows, byte for byte";
    EXPECT_EQ(LastMemoLine(), "Saving succeeded");

    Restart();
    EXPECT_TRUE(dialogs.Questions.empty()) << "saved: not offered again";
    ASSERT_EQ(Journals().size(), 1u) << "kept";
}

TEST_F(RecoveryTest, NoLeavesTheJournalAndIsNotAskedAgain)
{
    RunOfThisWindow(3, false);
    Restart();
    ASSERT_EQ(dialogs.Questions.size(), 1u) << "a run closed without a save is offered too";
    EXPECT_EQ(dialogs.Questions[0].Title, "Unsaved run");
    EXPECT_TRUE(dialogs.SaveDialogs.empty());

    Restart();
    EXPECT_TRUE(dialogs.Questions.empty());
    const std::vector<JournalFile> journals = Journals();
    ASSERT_EQ(journals.size(), 1u);
    EXPECT_EQ(journals[0].Rows, 3);
}

TEST_F(RecoveryTest, ACancelledSaveDialogAsksAgainAtTheNextStart)
{
    RunOfThisWindow(2, false);
    dialogs.Answers = {true};
    Restart();
    ASSERT_EQ(dialogs.SaveDialogs.size(), 1u);
    dialogs.Answers = {true};
    Restart();
    EXPECT_EQ(dialogs.Questions.size(), 1u);
}

TEST_F(RecoveryTest, OnlyRowsNoSaveHoldsAreOffered)
{
    struct Case {
        const char* name;
        bool saveAfterTheLastRow;
        std::size_t questions;
    };
    for (const Case c : {Case{"saved after its last row", true, 0}, Case{"rows after its save", false, 1}}) {
        SCOPED_TRACE(c.name);
        fs::remove_all(journalFolder);
        fs::remove(folder / "saved.csv");
        Restart();
        RunOfThisWindow(3, true);
        if (c.saveAfterTheLastRow) {
            form->Save(folder / "last.csv");
            FinishSaves();
            fs::remove(folder / "last.csv");
        }
        Restart();
        EXPECT_EQ(dialogs.Questions.size(), c.questions);
    }
}

TEST_F(RecoveryTest, OldJournalsAreRemovedAtStartWithALineEach)
{
    fs::create_directories(journalFolder);
    const fs::path old = fs::path(journalFolder) / "journal 2026-10-01 08_00_00 4242.csv";
    std::ofstream(old, std::ios::binary) << "Time;Mode\r\n09:00:00;Dilution\r\n";
    fs::last_write_time(old, fs::file_time_type::clock::now() - std::chrono::hours(24 * 40));
    const fs::path other = fs::path(journalFolder) / "notes.csv";
    std::ofstream(other) << "not a journal";
    fs::last_write_time(other, fs::file_time_type::clock::now() - std::chrono::hours(24 * 40));

    Restart();
    EXPECT_FALSE(fs::exists(old));
    EXPECT_TRUE(fs::exists(other)) << "only journals";
    EXPECT_TRUE(dialogs.Questions.empty()) << "removed, not offered";
    EXPECT_NE(form->MemoDevFeedback->toPlainText().indexOf(
                  QStringLiteral("Journal journal 2026-10-01 08_00_00 4242.csv removed: older than 30 days")),
              -1);
}

}  // namespace
}  // namespace gasmixer::test
