#pragma once

#include <filesystem>

namespace gasmixer::test {

// The process works in `path` while this lives: files named without a folder
// (autosaves, default save names) land there.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::filesystem::path& path) : old_(std::filesystem::current_path())
    {
        std::filesystem::current_path(path);
    }
    ~WorkingFolder() { std::filesystem::current_path(old_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::filesystem::path old_;
};

}  // namespace gasmixer::test
