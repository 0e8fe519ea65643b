#pragma once

#include <filesystem>
#include <string>

namespace gasmixer::sim {

// This process's entry in the simulator registry, present while the object
// lives: the two port links under a directory named after the process id.
// One per process.
class Announcement {
public:
    // Throws std::runtime_error when the registry directory is not safely
    // ours (a link, another user's, or open to others) or cannot be made.
    Announcement(const std::string& mfcLinePath, const std::string& relayBoardPath);
    ~Announcement();
    Announcement(const Announcement&) = delete;
    Announcement& operator=(const Announcement&) = delete;

    // Points one of the links at a new port, in one step for its readers.
    // Throws std::filesystem::filesystem_error.
    void Repoint(const char* linkName, const std::string& portPath);

private:
    std::filesystem::path entry_;
};

}  // namespace gasmixer::sim
