#pragma once

#include "sim/PseudoTerminal.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace gasmixer::test {

using Bytes = std::vector<std::uint8_t>;

// What a scripted device can do in answer to a request.
class PeerLine {
public:
    virtual ~PeerLine() = default;
    virtual void Send(std::span<const std::uint8_t> bytes) = 0;
    // Sleeps unless the peer is being stopped; false once it is.
    virtual bool Sleep(std::chrono::milliseconds duration) = 0;
    // Closes the device side: the port sees the device vanish.
    virtual void Vanish() = 0;
};

// A device on a pseudo-terminal that answers each request (the bytes of one
// burst, ended by a short silence) with a script of its own.
class ScriptedPeer final : private PeerLine {
public:
    using Script = std::function<void(const Bytes& request, PeerLine& line)>;

    explicit ScriptedPeer(Script script);
    ~ScriptedPeer() override;
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    const std::string& Path() const { return pty_.SlavePath(); }
    std::vector<Bytes> Requests() const;
    // Waits until `count` requests have arrived; false after the timeout.
    bool WaitForRequests(std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    // Waits until the script has closed the device side; false after the timeout.
    bool WaitVanished(std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    // Puts bytes on the line unasked.
    void Inject(std::span<const std::uint8_t> bytes);

private:
    void Send(std::span<const std::uint8_t> bytes) override;
    bool Sleep(std::chrono::milliseconds duration) override;
    void Vanish() override;
    void Serve();
    Bytes ReadBurst();

    sim::PseudoTerminal pty_;
    Script script_;
    int stopPipe_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::atomic<bool> vanished_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable requestArrived_;
    mutable std::condition_variable vanishedChanged_;
    std::vector<Bytes> requests_;
    std::thread thread_;
};

// Scripts for the common cases.
ScriptedPeer::Script Answer(Bytes reply);
ScriptedPeer::Script Silent();

}  // namespace gasmixer::test
