#include "sim/ModbusServer.h"

namespace gasmixer::sim {
namespace {

constexpr std::uint16_t MaxWriteCount = 123;  // what one request frame can carry

std::uint16_t WordAt(std::span<const std::uint8_t> frame, std::size_t offset)
{
    return static_cast<std::uint16_t>(frame[offset] << 8 | frame[offset + 1]);
}

// Address, function and the four bytes after them, as fn 6 and fn 16 echo.
Bytes EchoHead(std::span<const std::uint8_t> request)
{
    Bytes reply(request.begin(), request.begin() + 6);
    AppendCrc(reply);
    return reply;
}

}  // namespace

Bytes ServeRequest(FlowController& controller, std::span<const std::uint8_t> request, TimePoint now)
{
    const std::uint8_t address = request[0];
    const std::uint8_t function = request[1];
    const auto refuse = [&](ModbusException code) { return ExceptionReply(address, function, code); };

    switch (static_cast<ModbusFunction>(function)) {
    case ModbusFunction::ReadHoldingRegisters: {
        Words words;
        const auto code = controller.Read(WordAt(request, 2), WordAt(request, 4), words, now);
        if (code != ModbusException::None) return refuse(code);
        Bytes reply{address, function, static_cast<std::uint8_t>(2 * words.size())};
        AppendWords(reply, words);
        AppendCrc(reply);
        return reply;
    }
    case ModbusFunction::WriteSingleRegister: {
        const std::uint16_t value = WordAt(request, 4);
        const auto code = controller.Write(WordAt(request, 2), {&value, 1}, now);
        return code == ModbusException::None ? EchoHead(request) : refuse(code);
    }
    case ModbusFunction::WriteMultipleRegisters: {
        const std::uint16_t count = WordAt(request, 4);
        const std::uint8_t byteCount = request[6];
        if (count == 0 || count > MaxWriteCount || byteCount != 2 * count) return refuse(ModbusException::IllegalDataValue);
        const Words words = ReadWords(request.subspan(7, byteCount));
        const auto code = controller.Write(WordAt(request, 2), words, now);
        return code == ModbusException::None ? EchoHead(request) : refuse(code);
    }
    }
    return refuse(ModbusException::IllegalFunction);
}

}  // namespace gasmixer::sim
