#pragma once

#include <modbus.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace gasmixer::sim::test {

// An independent Modbus RTU master on a simulated line, with the MFC line's
// settings. Calls return libmodbus's result; errno tells the failure.
class ModbusMaster {
public:
    explicit ModbusMaster(const std::string& path);  // throws std::runtime_error

    void SetSlave(int address);
    modbus_t* Context() const { return ctx_.get(); }

    int ReadRegisters(int reg, int count, std::vector<std::uint16_t>& out);
    int WriteRegister(int reg, std::uint16_t value);
    int WriteFloat(int reg, float value);
    // NaN when the read fails.
    float ReadFloat(int reg);
    // The raw characters, padding included; empty when the read fails.
    std::string ReadText(int reg, int registers);

private:
    struct Close {
        void operator()(modbus_t* ctx) const;
    };
    std::unique_ptr<modbus_t, Close> ctx_;
};

}  // namespace gasmixer::sim::test
