#pragma once

#include <cstddef>
#include <deque>
#include <vector>

namespace gasmixer::sim {

// The latest entries of an instrument's log, so that a simulator left
// running for days holds a bounded memory. The owner guards it.
template <class Entry>
class RecentLog {
public:
    static constexpr std::size_t Capacity = 20'000;

    void Append(Entry entry)
    {
        if (entries_.size() == Capacity) entries_.pop_front();
        entries_.push_back(std::move(entry));
    }

    std::vector<Entry> Entries() const { return {entries_.begin(), entries_.end()}; }

private:
    std::deque<Entry> entries_;
};

}  // namespace gasmixer::sim
