#include "instruments/PortAccess.h"

#include "instruments/SerialPort.h"

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace gasmixer {
namespace {

// The group's name, or its number when the system does not know it.
std::string GroupName(gid_t gid)
{
    group entry{};
    group* found = nullptr;
    std::vector<char> buffer(16384);
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) return found->gr_name;
    return std::to_string(gid);
}

}  // namespace

std::optional<std::string> PermissionProblem(const std::string& port)
{
    const std::string path = SerialDevicePath(port);
    if (access(path.c_str(), R_OK | W_OK) == 0 || errno != EACCES) return std::nullopt;
    struct stat info {};
    // A by-id link is followed to the device, whose group is the one to join.
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    return "Permission denied on " + port + ": add your user to the group that owns it (" + GroupName(info.st_gid) +
           ") and log in again";
}

}  // namespace gasmixer
