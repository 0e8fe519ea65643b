#include "records/AtomicFileWriter.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace gasmixer::test {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class AtomicFileWriterTest : public ::testing::Test {
protected:
    fs::path folder;

    void SetUp() override
    {
        char name[] = "/tmp/gm-atomic-XXXXXX";
        folder = ::mkdtemp(name);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
};

ContentProducer Pieces(std::vector<std::string> pieces)
{
    return [pieces](const ByteSink& write) {
        for (const std::string& piece : pieces) write(piece);
    };
}

TEST_F(AtomicFileWriterTest, WritesEveryPieceAndReplacesTheTargetKeepingItsPermissions)
{
    const fs::path target = folder / "table.csv";
    {
        std::ofstream(target) << "old";
    }
    ::chmod(target.c_str(), 0640);
    const std::string big(200000, 'b');  // larger than the write buffer
    const WriteOutcome outcome = WriteFileAtomically(target, Pieces({"head;", big, "", "tail\r\n"}));

    EXPECT_TRUE(outcome.Ok) << outcome.Error;
    EXPECT_EQ(ReadAll(target), "head;" + big + "tail\r\n");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"table.csv"}));
}

TEST_F(AtomicFileWriterTest, ARelativeNameIsWrittenInTheWorkingFolder)
{
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    const WriteOutcome outcome = WriteFileAtomically("Filename autosave 05-14 09_30.CSV", Pieces({"x"}));
    fs::current_path(before);
    EXPECT_TRUE(outcome.Ok) << outcome.Error;
    EXPECT_EQ(ReadAll(folder / "Filename autosave 05-14 09_30.CSV"), "x");
}

TEST_F(AtomicFileWriterTest, AFailureLeavesTheTargetAsItWasAndNoTemporaryFile)
{
    fs::create_directory(folder / "in the way");
    {
        std::ofstream(folder / "keep.csv") << "good";
    }
    for (const fs::path& target : {folder / "missing" / "x.csv", folder / "in the way"}) {
        const WriteOutcome outcome = WriteFileAtomically(target, Pieces({"new"}));
        EXPECT_FALSE(outcome.Ok) << target;
        EXPECT_FALSE(outcome.Error.empty());
    }
    EXPECT_TRUE(fs::is_directory(folder / "in the way"));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in the way", "keep.csv"}));
}

TEST_F(AtomicFileWriterTest, AProducerThatThrowsLeavesNoTemporaryFile)
{
    {
        std::ofstream(folder / "keep.csv") << "good";
    }
    const auto failing = [](const ByteSink& write) {
        write("partial");
        throw std::runtime_error("producer failed");
    };
    EXPECT_THROW(WriteFileAtomically(folder / "keep.csv", failing), std::runtime_error);
    EXPECT_EQ(ReadAll(folder / "keep.csv"), "good");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"keep.csv"}));
}

}  // namespace
}  // namespace gasmixer::test
