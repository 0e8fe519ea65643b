#include "tests/instruments/ScriptedPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace gasmixer::test {
namespace {

constexpr int BurstGapMs = 5;

}  // namespace

ScriptedPeer::ScriptedPeer(Script script) : script_(std::move(script))
{
    if (pipe2(stopPipe_, O_CLOEXEC) != 0) throw std::runtime_error("pipe2");
    thread_ = std::thread([this] { Serve(); });
}

ScriptedPeer::~ScriptedPeer()
{
    stopping_ = true;
    const char wake = 1;
    (void)!write(stopPipe_[1], &wake, 1);
    thread_.join();
    close(stopPipe_[0]);
    close(stopPipe_[1]);
}

std::vector<Bytes> ScriptedPeer::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

bool ScriptedPeer::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return requestArrived_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

void ScriptedPeer::Inject(std::span<const std::uint8_t> bytes)
{
    Send(bytes);
}

void ScriptedPeer::Send(std::span<const std::uint8_t> bytes)
{
    if (vanished_) return;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(pty_.MasterFd(), bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
            return;
        }
    }
}

bool ScriptedPeer::Sleep(std::chrono::milliseconds duration)
{
    pollfd p{stopPipe_[0], POLLIN, 0};
    poll(&p, 1, static_cast<int>(duration.count()));
    return !stopping_;
}

void ScriptedPeer::Vanish()
{
    pty_.CloseMaster();
    const std::lock_guard lock(mutex_);
    vanished_ = true;
    vanishedChanged_.notify_all();
}

bool ScriptedPeer::WaitVanished(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return vanishedChanged_.wait_for(lock, timeout, [&] { return vanished_.load(); });
}

Bytes ScriptedPeer::ReadBurst()
{
    Bytes burst;
    pollfd fds[2] = {{pty_.MasterFd(), POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    int timeout = -1;  // block for the first byte, then until a gap
    for (;;) {
        const int ready = poll(fds, 2, timeout);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0 || fds[1].revents != 0) return burst;
        std::uint8_t buffer[512];
        const ssize_t n = read(pty_.MasterFd(), buffer, sizeof buffer);
        if (n <= 0) {
            // The slave side has no opener left between exchanges; wait and
            // look again rather than spin.
            if (burst.empty() && !Sleep(std::chrono::milliseconds(1))) return burst;
            if (!burst.empty()) return burst;
            continue;
        }
        burst.insert(burst.end(), buffer, buffer + n);
        timeout = BurstGapMs;
    }
}

void ScriptedPeer::Serve()
{
    while (!stopping_ && !vanished_) {
        const Bytes request = ReadBurst();
        if (request.empty()) continue;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        requestArrived_.notify_all();
        script_(request, *this);
    }
}

ScriptedPeer::Script Answer(Bytes reply)
{
    return [reply = std::move(reply)](const Bytes&, PeerLine& line) { line.Send(reply); };
}

ScriptedPeer::Script Silent()
{
    return [](const Bytes&, PeerLine&) {};
}

}  // namespace gasmixer::test
