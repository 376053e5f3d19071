#include "platform/store_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vesk {

std::expected<std::optional<StoreLock>, std::string> StoreLock::TryTake(
    const std::filesystem::path& dir, Mode mode) {
  const std::filesystem::path file = dir / kLockFileName;
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0)
    return std::unexpected("Cannot open the lock file " + file.string() + ": " +
                           std::strerror(errno));
  const int operation = (mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  while (::flock(fd, operation) != 0) {
    if (errno == EINTR) continue;
    const int err = errno;
    ::close(fd);
    if (err == EWOULDBLOCK) return std::optional<StoreLock>();
    return std::unexpected("Cannot lock " + file.string() + ": " + std::strerror(err));
  }
  return std::optional<StoreLock>(StoreLock(fd));
}

StoreLock& StoreLock::operator=(StoreLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

StoreLock::~StoreLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace vesk
