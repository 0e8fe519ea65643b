#include "instruments/PortListing.h"

#include "instruments/SimulatorRegistry.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <system_error>

namespace gasmixer {
namespace {

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

// The kernel registers a ttyS node for every possible built-in UART; only
// those with a chip behind them report a known type.
bool PublishesUart(const std::filesystem::path& ttyClassDir, const std::string& name)
{
    const std::filesystem::path node = ttyClassDir / name;
    std::ifstream typeFile(node / "type");
    std::string text;
    if (typeFile && std::getline(typeFile, text)) {
        int type = 0;
        const char* last = text.data() + text.size();
        const auto [end, error] = std::from_chars(text.data(), last, type);
        if (error == std::errc{} && end == last) return type != 0;
    }
    std::error_code ec;
    return std::filesystem::exists(node / "device", ec);
}

std::vector<std::string> ListComPorts() { return ListComPortsFrom("/sys"); }

std::vector<std::string> ListComPortsFrom(const std::filesystem::path& sysfsRoot)
{
    const std::filesystem::path ttyClassDir = sysfsRoot / "class" / "tty";
    std::vector<std::string> ports = ListSerialDevices(
        ttyClassDir, [&](const std::string& name) { return PublishesUart(ttyClassDir, name); });
    const std::vector<std::string> simulated = ListSimulatorPorts();
    ports.insert(ports.end(), simulated.begin(), simulated.end());
    return ports;
}

}  // namespace gasmixer
