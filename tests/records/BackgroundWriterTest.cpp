#include "records/BackgroundWriter.h"

#include <gtest/gtest.h>

#include <future>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace gasmixer::test {
namespace {

// A disk that takes each write only when the test lets it.
struct HeldDisk {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::vector<std::string> written;  // by the worker, read after Finish
    std::thread::id writer;

    FileWriter Writer()
    {
        return [this](const std::string& path, const ContentProducer& content) -> WriteOutcome {
            released.wait();
            writer = std::this_thread::get_id();
            if (path == "throws") throw std::runtime_error("out of memory");
            std::string bytes;
            content([&bytes](std::string_view piece) { bytes += piece; });
            written.push_back(path + ":" + bytes);
            return {path != "fails", path == "fails" ? "No space left on device" : ""};
        };
    }
};

ContentProducer Text(std::string text)
{
    return [text](const ByteSink& write) { write(text); };
}

TEST(BackgroundWriterTest, WritesAwayFromTheAskerInOrderAndTellsOnlyWhenCollected)
{
    HeldDisk disk;
    std::vector<std::string> told;
    const auto tell = [&told](const std::string& name) {
        return [&told, name](const std::optional<WriteOutcome>& outcome) {
            told.push_back(name + (!outcome ? " escaped" : outcome->Ok ? " ok" : " failed: " + outcome->Error));
        };
    };
    TBackgroundWriter writer(disk.Writer());
    writer.Submit("a", Text("first"), tell("a"));
    writer.Submit("throws", Text(""), tell("throws"));
    writer.Submit("fails", Text("third"), tell("fails"));
    writer.Collect();
    EXPECT_TRUE(told.empty()) << "the disk holds every write";

    disk.release.set_value();
    writer.Finish();
    EXPECT_EQ(told, (std::vector<std::string>{"a ok", "throws escaped", "fails failed: No space left on device"}));
    EXPECT_EQ(disk.written, (std::vector<std::string>{"a:first", "fails:third"}));
    EXPECT_NE(disk.writer, std::this_thread::get_id());

    writer.Collect();
    EXPECT_EQ(told.size(), 3u) << "each end told once";
}

TEST(BackgroundWriterTest, WhatWasAskedIsWrittenAtTheEndThoughNotTold)
{
    HeldDisk disk;
    bool told = false;
    {
        TBackgroundWriter writer(disk.Writer());
        writer.Submit("last", Text("rows"), [&told](const std::optional<WriteOutcome>&) { told = true; });
        disk.release.set_value();
    }
    EXPECT_EQ(disk.written, std::vector<std::string>{"last:rows"});
    EXPECT_FALSE(told);
}

}  // namespace
}  // namespace gasmixer::test
