// The configuration steps of an exchange, as terminal settings.
#include "instruments/SerialLineSettings.h"
#include "instruments/SerialPort.h"

#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <optional>
#include <utility>

namespace gasmixer {
namespace {

std::optional<speed_t> SpeedOf(std::int32_t baud)
{
    static constexpr std::pair<std::int32_t, speed_t> Rates[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},
        {150, B150},         {200, B200},         {300, B300},         {600, B600},
        {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
        {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
        {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
        {3500000, B3500000}, {4000000, B4000000},
    };
    for (const auto& [rate, speed] : Rates)
        if (rate == baud) return speed;
    return std::nullopt;
}

// Parity generation only: received parity is not checked.
bool SetParity(termios& tio, std::int32_t parity)
{
    tio.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (parity) {
    case 0: return true;
    case 1: tio.c_cflag |= PARENB | PARODD; return true;
    case 2: tio.c_cflag |= PARENB; return true;
    case 3: tio.c_cflag |= PARENB | CMSPAR | PARODD; return true;
    case 4: tio.c_cflag |= PARENB | CMSPAR; return true;
    default: return false;
    }
}

bool SetStopBits(termios& tio, std::int32_t stopBits)
{
    switch (stopBits) {
    case 0: tio.c_cflag &= ~CSTOPB; return true;
    case 1:  // one and a half has no terminal setting; two is the nearest safe one
    case 2: tio.c_cflag |= CSTOPB; return true;
    default: return false;
    }
}

}  // namespace

bool ComposeLineSettings(termios& tio, std::int32_t baudRate, std::int32_t stopBits,
                         std::int32_t parity)
{
    const auto speed = SpeedOf(baudRate);
    if (!speed) return false;
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    return SetParity(tio, parity) && SetStopBits(tio, stopBits) && cfsetspeed(&tio, *speed) == 0;
}

bool TSerialPort::SetDCBState(int ComDevice) const
{
    if (ComDevice < 0) return false;
    termios tio{};
    if (tcgetattr(ComDevice, &tio) != 0 || !ComposeLineSettings(tio, BaudRate, StopBits, Parity) ||
        tcsetattr(ComDevice, TCSANOW, &tio) != 0)
        return false;

    // DTR and RTS held on; pseudo-terminals have no modem lines.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (ioctl(ComDevice, TIOCMBIS, &lines) != 0 && errno != ENOTTY && errno != EINVAL) return false;
    return true;
}

bool TSerialPort::SetTimeOuts(int ComDevice) const
{
    if (ComDevice < 0) return false;
    // The driver never waits on its own: the read time-outs are kept by
    // ReadWithTimeouts with poll().
    termios tio{};
    if (tcgetattr(ComDevice, &tio) != 0) return false;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return tcsetattr(ComDevice, TCSANOW, &tio) == 0;
}

bool TSerialPort::SetBuffers(int ComDevice) const
{
    if (ComDevice < 0) return false;
    // The kernel's queues have a fixed size (4096 bytes for the terminal line
    // discipline). What matters is that they start empty, so that stale bytes
    // never pass for the reply to this exchange's frame.
    return tcflush(ComDevice, TCIOFLUSH) == 0;
}

}  // namespace gasmixer
