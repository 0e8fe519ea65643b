#include "instruments/PortListing.h"

#include "instruments/SimulatorRegistry.h"

#include <algorithm>
#include <cctype>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <system_error>
#include <unistd.h>

namespace gasmixer {
namespace {

// The kernel registers a ttyS node for every possible built-in UART; only
// those with a chip behind them report a known type.
bool HasRealUart(const std::string& name)
{
    const int fd = open(("/dev/" + name).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    serial_struct info{};
    const bool known = ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    close(fd);
    return known;
}

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

bool NaturalLess(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::size_t iEnd = a.find_first_not_of("0123456789", i);
            const std::size_t jEnd = b.find_first_not_of("0123456789", j);
            std::string_view x = std::string_view(a).substr(i, iEnd - i);
            std::string_view y = std::string_view(b).substr(j, jEnd - j);
            while (x.size() > 1 && x.front() == '0') x.remove_prefix(1);
            while (y.size() > 1 && y.front() == '0') y.remove_prefix(1);
            if (x.size() != y.size()) return x.size() < y.size();
            if (x != y) return x < y;
            i = iEnd == std::string::npos ? a.size() : iEnd;
            j = jEnd == std::string::npos ? b.size() : jEnd;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

std::vector<std::string> ListSerialDevices(const std::filesystem::path& ttyClassDir,
                                           const std::function<bool(const std::string&)>& hasUart)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(ttyClassDir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("ttyUSB") || name.starts_with("ttyACM") ||
            (name.starts_with("ttyS") && hasUart(name)))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

std::vector<std::string> ListComPorts()
{
    std::vector<std::string> ports = ListSerialDevices("/sys/class/tty", HasRealUart);
    const std::vector<std::string> simulated = ListSimulatorPorts();
    ports.insert(ports.end(), simulated.begin(), simulated.end());
    return ports;
}

}  // namespace gasmixer
