#include "sim/Announcement.h"

#include "instruments/SimulatorRegistry.h"

#include <atomic>
#include <cerrno>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace gasmixer::sim {
namespace {

namespace fs = std::filesystem;

std::atomic<bool> announced{false};

// The directory may live in /tmp, where anyone could have planted it first.
void MakePrivateDirectory(const fs::path& dir)
{
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        throw std::runtime_error("cannot create " + dir.string());
    struct stat st{};
    if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() || (st.st_mode & 077) != 0)
        throw std::runtime_error(dir.string() + " is not a private directory of this user");
}

}  // namespace

Announcement::Announcement(const std::string& mfcLinePath, const std::string& relayBoardPath)
{
    if (announced.exchange(true)) throw std::logic_error("this process has already announced its ports");
    try {
        const fs::path dir = SimulatorRegistryDir();
        MakePrivateDirectory(dir);
        RemoveStaleSimulatorEntries();
        entry_ = dir / std::to_string(getpid());
        fs::remove_all(entry_);  // left by an earlier process with the same id
        fs::create_directory(entry_);
        fs::create_symlink(mfcLinePath, entry_ / SimulatorMfcLinkName);
        fs::create_symlink(relayBoardPath, entry_ / SimulatorRelayLinkName);
    } catch (...) {
        std::error_code ec;
        if (!entry_.empty()) fs::remove_all(entry_, ec);
        announced = false;
        throw;
    }
}

void Announcement::Repoint(const char* linkName, const std::string& portPath)
{
    const fs::path link = entry_ / linkName;
    fs::path fresh = link;
    fresh += ".new";
    fs::remove(fresh);
    fs::create_symlink(portPath, fresh);
    fs::rename(fresh, link);
}

Announcement::~Announcement()
{
    std::error_code ec;
    fs::remove_all(entry_, ec);
    announced = false;
}

}  // namespace gasmixer::sim
