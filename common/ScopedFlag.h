#pragma once

namespace gasmixer {

// Raises a flag for the length of a scope and puts its old value back on
// every way out, exceptions included.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = old_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
    const bool old_;
};

}  // namespace gasmixer
