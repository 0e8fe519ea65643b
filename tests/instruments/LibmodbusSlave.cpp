#include "tests/instruments/LibmodbusSlave.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace gasmixer::test {
namespace {

bool CopyOnce(int from, int to, std::size_t& copied)
{
    std::uint8_t buffer[512];
    const ssize_t n = read(from, buffer, sizeof buffer);
    if (n <= 0) return n < 0 && errno == EINTR;
    for (ssize_t done = 0; done < n;) {
        const ssize_t w = write(to, buffer + done, static_cast<std::size_t>(n - done));
        if (w < 0 && errno != EINTR) return false;
        if (w > 0) done += w;
    }
    copied = static_cast<std::size_t>(n);
    return true;
}

}  // namespace

LibmodbusSlave::LibmodbusSlave(int slaveId)
{
    if (pipe2(stopPipe_, O_CLOEXEC) != 0) throw std::runtime_error("pipe2");
    context_ = modbus_new_rtu(theirs_.SlavePath().c_str(), 9600, 'N', 8, 2);
    mapping_ = modbus_mapping_new(0, 0, 0xFFFF, 0);
    if (!context_ || !mapping_ || modbus_set_slave(context_, slaveId) != 0 ||
        modbus_connect(context_) != 0)
        throw std::runtime_error("libmodbus slave");
    modbus_set_indication_timeout(context_, 0, 50'000);
    relay_ = std::thread([this] { Relay(); });
    server_ = std::thread([this] { Serve(); });
}

LibmodbusSlave::~LibmodbusSlave()
{
    stopping_ = true;
    const char wake = 1;
    (void)!write(stopPipe_[1], &wake, 1);
    server_.join();
    relay_.join();
    modbus_close(context_);
    modbus_free(context_);
    modbus_mapping_free(mapping_);
    close(stopPipe_[0]);
    close(stopPipe_[1]);
}

void LibmodbusSlave::SetRegisters(std::uint16_t first, const std::vector<std::uint8_t>& bytes)
{
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        mapping_->tab_registers[first + i / 2] =
            static_cast<std::uint16_t>(bytes[i] << 8 | bytes[i + 1]);
}

std::vector<std::uint8_t> LibmodbusSlave::Registers(std::uint16_t first, std::size_t byteCount)
{
    std::lock_guard lock(mutex_);
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < byteCount; i += 2) {
        const std::uint16_t r = mapping_->tab_registers[first + i / 2];
        bytes.push_back(static_cast<std::uint8_t>(r >> 8));
        bytes.push_back(static_cast<std::uint8_t>(r & 0xFF));
    }
    return bytes;
}

bool LibmodbusSlave::WaitUntilAnswered(std::size_t count)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(5), [&] {
        return answered_ >= count && bytesDelivered_ >= bytesAnswered_;
    });
}

void LibmodbusSlave::Relay()
{
    pollfd fds[3] = {{ours_.MasterFd(), POLLIN, 0},
                     {theirs_.MasterFd(), POLLIN, 0},
                     {stopPipe_[0], POLLIN, 0}};
    while (!stopping_) {
        if (poll(fds, 3, -1) < 0 && errno != EINTR) return;
        if (fds[2].revents != 0) return;
        std::size_t toThem = 0;
        std::size_t toUs = 0;
        if ((fds[0].revents & POLLIN) != 0) CopyOnce(fds[0].fd, fds[1].fd, toThem);
        if ((fds[1].revents & POLLIN) != 0 && CopyOnce(fds[1].fd, fds[0].fd, toUs)) {
            {
                std::lock_guard lock(mutex_);
                bytesDelivered_ += toUs;
            }
            changed_.notify_all();
        }
    }
}

void LibmodbusSlave::Serve()
{
    std::uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
    while (!stopping_) {
        const int length = modbus_receive(context_, request);
        if (length <= 0) continue;  // idle, or a frame libmodbus rejected
        {
            std::lock_guard lock(mutex_);
            const int sent = modbus_reply(context_, request, length, mapping_);
            ++answered_;
            if (sent > 0) bytesAnswered_ += static_cast<std::size_t>(sent);
        }
        changed_.notify_all();
    }
}

}  // namespace gasmixer::test
