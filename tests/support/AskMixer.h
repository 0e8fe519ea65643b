#pragma once

#include "mixer/Mixer.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>

namespace gasmixer::test {

// Runs `read` on the mixer's thread, between its ticks, after everything
// posted before, and returns what it gives. The answer comes back through a
// lock of our own, so the thread sanitizer sees it handed over. Throws when
// the mixer does not get there within `patience`.
template <class Read>
auto AskMixer(TMixer& mixer, Read read, std::chrono::seconds patience = std::chrono::seconds(30))
{
    using Answer = decltype(read(mixer));
    struct Slot {
        std::mutex mutex;
        std::condition_variable given;
        std::optional<Answer> answer;
    };
    const auto slot = std::make_shared<Slot>();
    mixer.Post([slot, read](TMixer& m) {
        Answer answer = read(m);
        const std::lock_guard lock(slot->mutex);
        slot->answer.emplace(std::move(answer));
        slot->given.notify_all();
    });
    std::unique_lock lock(slot->mutex);
    if (!slot->given.wait_for(lock, patience, [&] { return slot->answer.has_value(); }))
        throw std::runtime_error("the mixer did not answer");
    return std::move(*slot->answer);
}

}  // namespace gasmixer::test
