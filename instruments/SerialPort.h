#pragma once

#include "instruments/SerialResponse.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace gasmixer {

// One serial line's settings. Every exchange opens the device exclusively,
// configures it, writes one frame, optionally reads the reply and closes the
// device again, so no exchange depends on what an earlier one left behind.
// Exchanges never throw: every failure ends as a Status text.
class TSerialPort {
public:
    bool Debug = false;
    std::string DebugMSG;  // timing trace of the last SendData
    std::string Port;      // "ttyUSB0" maps to /dev/ttyUSB0; a name with '/' is a path
    std::uint32_t WindowsReadLoopTimeoutMS = 333;  // pause after the write and after each poll
    std::uint32_t ReadoutTimeoutMS = 1000;         // wait for the first reply byte
    std::int32_t BaudRate = 9600;
    std::int32_t StopBits = 0;  // 0 one, 1 one and a half (sent as two), 2 two
    std::int32_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space

    virtual ~TSerialPort() = default;

    TSerialResponse SendData(const std::uint8_t* Data, std::uint32_t dataSize,
                             bool WaitForResponse);

    // Text exchange: trims the reply, fills neither rArray nor ResponseLength.
    TSerialResponse Send2(std::string_view aMessage, bool WaitForResponse);

    // The configuration steps of an exchange on an open descriptor; false for
    // an invalid descriptor or when the driver refuses.
    bool SetDCBState(int ComDevice) const;
    bool SetTimeOuts(int ComDevice) const;
    bool SetBuffers(int ComDevice) const;

private:
    void Trace(int step);
    // The three configuration steps; the failure's status text, or nullptr.
    const char* Configure(int fd, bool traced);
};

// Device path of a port name.
std::string SerialDevicePath(const std::string& port);

}  // namespace gasmixer
