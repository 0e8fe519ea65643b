#pragma once

#include <unistd.h>

namespace gasmixer::sim {

// Owns one file descriptor.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        if (this != &other) {
            Reset();
            fd_ = other.Release();
        }
        return *this;
    }

    int Get() const { return fd_; }
    int Release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void Reset()
    {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

}  // namespace gasmixer::sim
