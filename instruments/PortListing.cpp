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

std::vector<std::pair<std::string, std::filesystem::path>> StableSerialLinks(const std::filesystem::path& devRoot)
{
    std::vector<std::pair<std::string, std::filesystem::path>> links;
    const auto addLink = [&](const std::filesystem::path& link) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(link, ec)) return;
        const std::filesystem::path target = std::filesystem::read_symlink(link, ec);
        if (!ec) links.emplace_back(target.filename().string(), link);
    };
    std::error_code ec;
    // Our udev rule's names come first: the operator chose them.
    for (const auto& entry : std::filesystem::directory_iterator(devRoot, ec)) {
        if (entry.path().filename().string().starts_with("gasmixer-")) addLink(entry.path());
    }
    std::vector<std::filesystem::path> byId;
    for (const auto& entry : std::filesystem::directory_iterator(devRoot / "serial" / "by-id", ec))
        byId.push_back(entry.path());
    std::sort(byId.begin(), byId.end());
    for (const std::filesystem::path& link : byId) addLink(link);
    return links;
}

std::vector<TPortChoice> ListComPorts() { return ListComPortsFrom({}); }

std::vector<TPortChoice> ListComPortsFrom(const PortListingRoots& roots)
{
    const std::filesystem::path ttyClassDir = roots.Sysfs / "class" / "tty";
    const std::vector<std::string> devices = ListSerialDevices(
        ttyClassDir, [&](const std::string& name) { return PublishesUart(ttyClassDir, name); });
    const auto links = StableSerialLinks(roots.Dev);
    std::vector<TPortChoice> ports;
    for (const std::string& device : devices) {
        const auto link = std::find_if(links.begin(), links.end(), [&](const auto& l) { return l.first == device; });
        if (link == links.end()) ports.emplace_back(device);
        else ports.emplace_back(link->second.filename().string() + " (" + device + ")", link->second.string());
    }
    for (const std::string& simulated : ListSimulatorPorts()) ports.emplace_back(simulated);
    return ports;
}

}  // namespace gasmixer
