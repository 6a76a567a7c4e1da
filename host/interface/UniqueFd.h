// Ownership of one POSIX file descriptor.
#pragma once

#include <unistd.h>

#include <utility>

namespace aeroquin::host {

class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    [[nodiscard]] int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now; false when the system reports a failure (data may not have reached the disk).
    bool reset() {
        if (fd_ < 0) {
            return true;
        }
        const bool ok = ::close(std::exchange(fd_, -1)) == 0;
        return ok;
    }

  private:
    int fd_ = -1;
};

// Writes all of `size` bytes, resuming after partial writes and signals. False on failure,
// with errno set.
bool writeAll(int fd, const char* data, std::size_t size);

}  // namespace aeroquin::host
