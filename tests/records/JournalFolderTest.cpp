#include "records/JournalFolder.h"

#include "records/RecordJournal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace gasmixer::test {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t MB = 1'000'000;

// A folder of its own, gone with the test.
struct ScratchFolder {
    std::string path;
    ScratchFolder()
    {
        char name[] = "/tmp/gm-journals-XXXXXX";
        path = ::mkdtemp(name);
    }
    ~ScratchFolder() { fs::remove_all(path); }
};

TEST(JournalFolderTest, RetentionRemovesOldJournalsThenSavedOnesBeyondOneGigabyteOldestFirst)
{
    // Name, age in days, size, still written, unsaved.
    const std::vector<JournalFile> journals{
        {"new", "new", 0.1, 290 * MB, false, 10, true},
        {"live", "live", 45.0, 10 * MB, true, 10, true},
        {"unsaved old", "unsaved old", 31.0, 10 * MB, false, 10, true},
        {"unsaved young", "unsaved young", 29.0, 600 * MB, false, 10, true},
        {"saved 20", "saved 20", 20.0, 100 * MB, false, 10, false},
        {"saved 10", "saved 10", 10.0, 100 * MB, false, 10, false},
        {"saved 5", "saved 5", 5.0, 100 * MB, false, 10, false},
    };
    std::vector<std::string> removed;
    for (const JournalRemoval& removal : JournalsToRemove(journals))
        removed.push_back(removal.Path + ": " + removal.Why);
    // 1210 MB in all: the old one goes for its age, then the oldest saved
    // ones until 1 GB is left; a live journal and a young unsaved one stay.
    EXPECT_EQ(removed, (std::vector<std::string>{"unsaved old: older than 30 days",
                                                 "saved 20: the journals exceed 1 GB",
                                                 "saved 10: the journals exceed 1 GB"}));

    EXPECT_TRUE(JournalsToRemove({{"a", "a", 29.9, 900 * MB, false, 1, false}}).empty()) << "under both limits";
}

TEST(JournalFolderTest, ListsJournalsNewestFirstAndTellsTheRunningOne)
{
    const ScratchFolder scratch;
    const std::string& folder = scratch.path;
    const auto write = [&folder](const std::string& name, const std::string& text) {
        std::ofstream(fs::path(folder) / name, std::ios::binary) << text;
    };
    write("journal 2026-12-01 08_00_00 11.csv", "H\r\n#plan 1;\r\nrow\r\nrow\r\n#saved;2\r\n");
    write("journal 2026-12-02 08_00_00 12.csv", "H\r\n#plan 1;\r\nrow\r\n");
    write("other.csv", "H\r\nrow\r\n");
    TRecordJournal running(folder, "journal 2026-12-03 08_00_00 13.csv", "H\r\n", nullptr);
    running.Append("row\r\n");
    running.WaitIdle();

    const std::vector<JournalFile> journals = ListJournals(folder);
    ASSERT_EQ(journals.size(), 3u);
    EXPECT_EQ(journals[0].Name, "journal 2026-12-03 08_00_00 13.csv");
    EXPECT_TRUE(journals[0].InUse);
    EXPECT_EQ(journals[1].Name, "journal 2026-12-02 08_00_00 12.csv");
    EXPECT_FALSE(journals[1].InUse);
    EXPECT_TRUE(journals[1].Unsaved);
    EXPECT_EQ(journals[1].Rows, 1);
    EXPECT_FALSE(journals[2].Unsaved);
    EXPECT_LT(journals[2].AgeDays, 1.0);
    EXPECT_EQ(journals[2].Bytes, 33u);

    EXPECT_EQ(JournalRunStart(journals[0].Name), "2026-12-03 08:00");
    EXPECT_TRUE(ListJournals(folder + "/missing").empty());
}

}  // namespace
}  // namespace gasmixer::test
