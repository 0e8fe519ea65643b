#pragma once

#include <QObject>

#include <functional>

namespace gasmixer {

// Runs one fixed call on the thread the object lives on, each time it is
// woken, from any thread. The wake carries no data of ours: what the call
// reads is handed over under a lock of its own, so the thread sanitizer,
// which cannot see into Qt's event queue, sees every hand-over.
class ThreadWake final : public QObject {
public:
    // The call is fixed before any thread may wake it.
    explicit ThreadWake(std::function<void()> call, QObject* parent = nullptr);

    // Any thread.
    void Wake();

protected:
    bool event(QEvent* event) override;

private:
    const std::function<void()> call_;
};

}  // namespace gasmixer
