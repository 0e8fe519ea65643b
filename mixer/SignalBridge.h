#pragma once

#include <QObject>

#include <array>
#include <csignal>
#include <functional>

class QSocketNotifier;

namespace gasmixer {

// Brings SIGTERM, SIGINT and SIGHUP into the event loop: the handler only
// writes a byte to a socket pair, and the callback runs later on the thread
// that owns the bridge, where closing the window and talking to instruments
// is allowed. One bridge at a time; the previous handlers come back when it
// is destroyed.
class SignalBridge final : public QObject {
public:
    using Callback = std::function<void(int signalNumber)>;

    static constexpr std::array<int, 3> Signals{SIGTERM, SIGINT, SIGHUP};

    // Throws std::system_error when the pair or a handler cannot be set up,
    // std::logic_error when another bridge is installed.
    explicit SignalBridge(Callback onSignal, QObject* parent = nullptr);
    ~SignalBridge() override;
    SignalBridge(const SignalBridge&) = delete;
    SignalBridge& operator=(const SignalBridge&) = delete;

private:
    void Deliver();
    void Uninstall();

    Callback onSignal_;
    int readFd_ = -1;
    int writeFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    std::array<struct sigaction, Signals.size()> previous_{};
    std::size_t installed_ = 0;  // handlers set so far, in the order of Signals
};

}  // namespace gasmixer
