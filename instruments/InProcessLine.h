#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace gasmixer {

// A serial line answered inside this process instead of by a device: the
// instruments of a benchmark that steps a day in minutes. It is found by a
// port name no device has; an exchange on that port goes to it whole.
class InProcessLine {
public:
    virtual ~InProcessLine() = default;
    // The reply to one request; nothing when the line stays quiet. Called
    // from any thread.
    virtual std::optional<std::vector<std::uint8_t>> Exchange(std::span<const std::uint8_t> request) = 0;
};

// The line stays registered as long as the returned handle lives.
class InProcessLineRegistration {
public:
    InProcessLineRegistration(std::string port, std::shared_ptr<InProcessLine> line);
    ~InProcessLineRegistration();
    InProcessLineRegistration(const InProcessLineRegistration&) = delete;
    InProcessLineRegistration& operator=(const InProcessLineRegistration&) = delete;

private:
    std::string port_;
};

// The line registered under that port name, if any.
std::shared_ptr<InProcessLine> FindInProcessLine(const std::string& port);

}  // namespace gasmixer
