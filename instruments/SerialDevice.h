#pragma once

#include <string>

namespace gasmixer {

// A serial device held open, and exclusively, for the length of one exchange.
// Exclusion must hold for root too, and TIOCEXCL alone does not stop root, so
// the device is also flock()ed. The exclusive flag is cleared again before
// the close: a pseudo-terminal may keep another descriptor open, and a flag
// left behind would lock every later opener out.
class TSerialDevice {
public:
    // Opens a terminal device for reading and writing without blocking;
    // anything else, or a device another exchange holds, gives a closed one.
    static TSerialDevice OpenExclusive(const std::string& path);

    TSerialDevice() = default;
    ~TSerialDevice();
    TSerialDevice(TSerialDevice&& other) noexcept;
    TSerialDevice& operator=(TSerialDevice&& other) noexcept;
    TSerialDevice(const TSerialDevice&) = delete;
    TSerialDevice& operator=(const TSerialDevice&) = delete;

    int Fd() const { return fd_; }  // -1 when not open

private:
    explicit TSerialDevice(int fd) : fd_(fd) {}
    void Close();

    int fd_ = -1;
    bool exclusiveFlagSet_ = false;
};

}  // namespace gasmixer
