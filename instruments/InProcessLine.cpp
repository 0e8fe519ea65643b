#include "instruments/InProcessLine.h"

#include <map>
#include <mutex>

namespace gasmixer {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<InProcessLine>> lines;
};

Registry& Lines()
{
    static Registry registry;
    return registry;
}

}  // namespace

InProcessLineRegistration::InProcessLineRegistration(std::string port, std::shared_ptr<InProcessLine> line)
    : port_(std::move(port))
{
    Registry& registry = Lines();
    const std::lock_guard lock(registry.mutex);
    registry.lines[port_] = std::move(line);
}

InProcessLineRegistration::~InProcessLineRegistration()
{
    Registry& registry = Lines();
    const std::lock_guard lock(registry.mutex);
    registry.lines.erase(port_);
}

std::shared_ptr<InProcessLine> FindInProcessLine(const std::string& port)
{
    Registry& registry = Lines();
    const std::lock_guard lock(registry.mutex);
    const auto found = registry.lines.find(port);
    return found == registry.lines.end() ? nullptr : found->second;
}

}  // namespace gasmixer
