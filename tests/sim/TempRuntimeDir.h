#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace gasmixer::sim::test {

// Points the simulator registry at a fresh private directory for the life of
// the object, so that tests neither see nor disturb a running simulator.
class TempRuntimeDir {
public:
    TempRuntimeDir();
    ~TempRuntimeDir();
    TempRuntimeDir(const TempRuntimeDir&) = delete;
    TempRuntimeDir& operator=(const TempRuntimeDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
    std::optional<std::string> saved_;
};

}  // namespace gasmixer::sim::test
