#include "mixer/RelayLine.h"

#include "instruments/RelayBoard.h"
#include "instruments/SerialPort.h"

namespace gasmixer {

void RelayLine::SetPort(std::string port)
{
    const std::lock_guard lock(mutex_);
    port_ = std::move(port);
}

std::string RelayLine::Port() const
{
    const std::lock_guard lock(mutex_);
    return port_;
}

TSerialResponse RelayLine::SendValves(std::uint8_t mask)
{
    const std::lock_guard lock(mutex_);
    TSerialPort port;
    port.Port = port_;
    return SendValveCommand(port, mask);
}

TSerialResponse RelayLine::ReadAnalog()
{
    const std::lock_guard lock(mutex_);
    TSerialPort port;
    port.Port = port_;
    return ReadAnalogInput(port);
}

TSerialResponse RelayLine::LinkTest(std::string& trace)
{
    const std::lock_guard lock(mutex_);
    TSerialPort port;
    port.Port = port_;
    TSerialResponse response = RelayLinkTest(port);
    trace = port.DebugMSG;
    return response;
}

}  // namespace gasmixer
