#pragma once

#include <QTimer>

namespace gasmixer {

// Holds a running timer for a scope and starts it again on every way out,
// exceptions included, so that an error never leaves it stopped.
class TimerHold {
public:
    explicit TimerHold(QTimer& timer) : timer_(timer), wasActive_(timer.isActive()) { timer_.stop(); }
    ~TimerHold()
    {
        if (wasActive_) timer_.start();
    }
    TimerHold(const TimerHold&) = delete;
    TimerHold& operator=(const TimerHold&) = delete;

private:
    QTimer& timer_;
    const bool wasActive_;
};

}  // namespace gasmixer
