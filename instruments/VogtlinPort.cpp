#include "instruments/VogtlinPort.h"

#include "common/Pause.h"
#include "instruments/InProcessLine.h"
#include "instruments/VogtlinDecode.h"
#include "instruments/VogtlinFrames.h"

#include <vector>

namespace gasmixer {
namespace {

constexpr std::uint32_t PauseAfterWriteMs = 10;

TSerialResponse Read(TSerialPort& port, std::uint32_t deviceAddress, std::uint32_t memoryAddress,
                     TVogtlinValueType type)
{
    const ReadRequest request = BuildReadRequest(deviceAddress, memoryAddress, type);
    return DecodeRead(type, port.SendData(request.data(), request.size(), true));
}

// The controller's acknowledgement is not read; the pause gives it time to
// act before the next frame. A line answered in this process acts at once.
TSerialResponse Write(TSerialPort& port, const std::vector<std::uint8_t>& frame)
{
    TSerialResponse result = port.SendData(frame.data(), static_cast<std::uint32_t>(frame.size()),
                                           false);
    if (!FindInProcessLine(port.Port)) Pause(PauseAfterWriteMs);
    return result;
}

}  // namespace

TSerialResponse TVogtlinPort::ReadU8(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress)
{
    return Read(*this, DeviceAddress, MemoryAddress, TVogtlinValueType::U8);
}

TSerialResponse TVogtlinPort::ReadU16(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress)
{
    return Read(*this, DeviceAddress, MemoryAddress, TVogtlinValueType::U16);
}

TSerialResponse TVogtlinPort::ReadU32(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress)
{
    return Read(*this, DeviceAddress, MemoryAddress, TVogtlinValueType::U32);
}

TSerialResponse TVogtlinPort::ReadF32(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress)
{
    return Read(*this, DeviceAddress, MemoryAddress, TVogtlinValueType::F32);
}

TSerialResponse TVogtlinPort::ReadS8(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress)
{
    return Read(*this, DeviceAddress, MemoryAddress, TVogtlinValueType::S8);
}

TSerialResponse TVogtlinPort::ReadS50(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress)
{
    return Read(*this, DeviceAddress, MemoryAddress, TVogtlinValueType::S50);
}

TSerialResponse TVogtlinPort::WriteU8(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress,
                                      std::uint16_t aValue)
{
    return Write(*this, BuildWriteU8Request(DeviceAddress, MemoryAddress, aValue));
}

TSerialResponse TVogtlinPort::WriteU16(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress,
                                       std::uint32_t aValue)
{
    return Write(*this, BuildWriteU16Request(DeviceAddress, MemoryAddress, aValue));
}

TSerialResponse TVogtlinPort::WriteF32(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress,
                                       float aValue)
{
    return Write(*this, BuildWriteF32Request(DeviceAddress, MemoryAddress, aValue));
}

TSerialResponse TVogtlinPort::WriteS50(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress,
                                       std::string_view aValue)
{
    return Write(*this, BuildWriteS50Request(DeviceAddress, MemoryAddress, aValue));
}

void ApplyMfcLineSettings(TSerialPort& port)
{
    port.BaudRate = 9600;
    port.StopBits = 2;
    port.Parity = 0;
    port.WindowsReadLoopTimeoutMS = 10;
    port.ReadoutTimeoutMS = 50;
}

}  // namespace gasmixer
