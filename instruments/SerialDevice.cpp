#include "instruments/SerialDevice.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace gasmixer {

TSerialDevice TSerialDevice::OpenExclusive(const std::string& path)
{
    // Regular files, folders and FIFOs are never opened at all.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISCHR(info.st_mode)) return {};

    TSerialDevice device(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (device.fd_ < 0 || !isatty(device.fd_)) return {};
    // The lock comes first: whoever holds it is the one who set the flag.
    if (flock(device.fd_, LOCK_EX | LOCK_NB) != 0) return {};
    device.exclusiveFlagSet_ = ioctl(device.fd_, TIOCEXCL) == 0;
    return device;
}

TSerialDevice::~TSerialDevice()
{
    Close();
}

TSerialDevice::TSerialDevice(TSerialDevice&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      exclusiveFlagSet_(std::exchange(other.exclusiveFlagSet_, false))
{
}

TSerialDevice& TSerialDevice::operator=(TSerialDevice&& other) noexcept
{
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        exclusiveFlagSet_ = std::exchange(other.exclusiveFlagSet_, false);
    }
    return *this;
}

void TSerialDevice::Close()
{
    if (fd_ < 0) return;
    if (exclusiveFlagSet_) ioctl(fd_, TIOCNXCL);
    close(fd_);  // also releases the lock
    fd_ = -1;
    exclusiveFlagSet_ = false;
}

}  // namespace gasmixer
