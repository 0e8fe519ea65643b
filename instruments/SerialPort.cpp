#include "instruments/SerialPort.h"

#include "common/DateTime.h"
#include "common/Pause.h"
#include "common/TextFormat.h"
#include "instruments/InProcessLine.h"
#include "instruments/SerialDevice.h"
#include "instruments/SerialIo.h"

#include <chrono>

namespace gasmixer {
namespace {

constexpr const char* UnknownProblem = "Unknown problem reading serial port";
constexpr const char* PortInUse = "Failed to setup Com port, port in use";
constexpr const char* TimeoutsRefused = "Failed to setup Com port timeouts";
constexpr const char* BuffersRefused = "Failed to setup Com port buffer size";
constexpr const char* WriteFailed = "Failed to write to Com port";
constexpr const char* NoReplyAwaited = "Exit read/write without waiting for reply";
constexpr const char* ReplyTimeout = "Timeout while waiting for response";
constexpr const char* ReadFailed = "Failed to read from Com port";

constexpr std::size_t ReplyLimit = 256;
constexpr std::size_t TextReplyLimit = 80;

// Polls the receive queue, pausing after every poll, until a byte is seen or
// the wait is over.
bool AwaitFirstByte(int fd, std::uint32_t waitMs, std::uint32_t pauseMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    bool seen = false;
    while (!seen && std::chrono::steady_clock::now() < deadline) {
        seen = BytesWaiting(fd) > 0;
        Pause(pauseMs);
    }
    return seen;
}

std::string_view Trim(std::string_view text)
{
    const auto blankOrControl = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blankOrControl(text.front())) text.remove_prefix(1);
    while (!text.empty() && blankOrControl(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string SerialDevicePath(const std::string& port)
{
    return port.find('/') == std::string::npos ? "/dev/" + port : port;
}

void TSerialPort::Trace(int step)
{
    if (!Debug) return;
    DebugMSG += "Time  " + std::to_string(step) + ": " + FormatDateTime("hh:nn:ss.zzz", LocalNow()) +
                "\r\n";
}

const char* TSerialPort::Configure(int fd, bool traced)
{
    if (!SetDCBState(fd)) return PortInUse;
    if (traced) Trace(3);
    if (!SetTimeOuts(fd)) return TimeoutsRefused;
    if (traced) Trace(4);
    if (!SetBuffers(fd)) return BuffersRefused;
    if (traced) Trace(5);
    return nullptr;
}

TSerialResponse TSerialPort::SendData(const std::uint8_t* Data, std::uint32_t dataSize,
                                      bool WaitForResponse)
{
    TSerialResponse result;
    DebugMSG.clear();
    if (const std::shared_ptr<InProcessLine> line = FindInProcessLine(Port)) {
        const std::optional<std::vector<std::uint8_t>> reply = line->Exchange({Data, dataSize});
        if (!WaitForResponse) return result;
        if (!reply) {
            result.Status = ReplyTimeout;
            return result;
        }
        StoreReply(result, *reply);
        return result;
    }
    Trace(1);
    result.Status = UnknownProblem;

    const TSerialDevice device = TSerialDevice::OpenExclusive(SerialDevicePath(Port));
    const int fd = device.Fd();
    Trace(2);
    if (const char* failure = Configure(fd, true)) {
        result.Status = failure;
        return result;
    }
    if ((Data == nullptr && dataSize != 0) || !WriteAll(fd, {Data, dataSize})) {
        result.Status = WriteFailed;
        return result;
    }
    Trace(6);
    if (!WaitForResponse) {
        result.Status.clear();
        return result;
    }
    Pause(WindowsReadLoopTimeoutMS);
    Trace(7);
    const bool seen = AwaitFirstByte(fd, ReadoutTimeoutMS, WindowsReadLoopTimeoutMS);
    Trace(8);
    if (!seen) {
        result.Status = ReplyTimeout;
        return result;
    }
    // A byte seen but gone by the time of the read (the device vanished) is a
    // failed read, not an empty success.
    const std::vector<std::uint8_t> reply = ReadWithTimeouts(fd, ReplyLimit);
    if (reply.empty()) {
        result.Status = ReadFailed;
        return result;
    }
    StoreReply(result, reply);
    result.Status.clear();
    Trace(9);
    return result;
}

TSerialResponse TSerialPort::Send2(std::string_view aMessage, bool WaitForResponse)
{
    TSerialResponse result;
    result.SentMessage = aMessage;
    if (const std::shared_ptr<InProcessLine> line = FindInProcessLine(Port)) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(aMessage.data());
        const std::optional<std::vector<std::uint8_t>> reply = line->Exchange({bytes, aMessage.size()});
        if (!WaitForResponse) result.Status = NoReplyAwaited;
        else if (!reply) result.Status = ReplyTimeout;
        else result.Response = Trim(BytesAsText(*reply));
        return result;
    }

    const TSerialDevice device = TSerialDevice::OpenExclusive(SerialDevicePath(Port));
    const int fd = device.Fd();
    if (const char* failure = Configure(fd, false)) {
        result.Status = failure;
        return result;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(aMessage.data());
    if (!WriteAll(fd, {bytes, aMessage.size()})) {
        result.Status = WriteFailed;
        return result;
    }
    if (!WaitForResponse) {
        result.Status = NoReplyAwaited;
        return result;
    }
    if (!AwaitFirstByte(fd, ReadoutTimeoutMS, WindowsReadLoopTimeoutMS)) {
        result.Status = ReplyTimeout;
        return result;
    }
    const std::vector<std::uint8_t> reply = ReadWithTimeouts(fd, TextReplyLimit);
    if (reply.empty()) {
        result.Status = ReadFailed;
        return result;
    }
    result.Response = Trim(BytesAsText(reply));
    return result;
}

}  // namespace gasmixer
