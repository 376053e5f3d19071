#include "platform/data_dir_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vesk {

DataDirLock::~DataDirLock() {
  if (fd_ >= 0) ::close(fd_);
}

LockState DataDirLock::Acquire(const std::filesystem::path& dir) {
  if (fd_ >= 0) return LockState::Held;
  // The directory itself: no lock file to leave behind, and close-on-exec so
  // that no program we start keeps it.
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    error_ = "Cannot lock the data directory " + dir.string() + ": " + std::strerror(errno);
    return LockState::Failed;
  }
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc == 0) {
    fd_ = fd;
    return LockState::Held;
  }
  const int err = errno;
  ::close(fd);
  if (err == EWOULDBLOCK) return LockState::Busy;
  error_ = "Cannot lock the data directory " + dir.string() + ": " + std::strerror(err);
  return LockState::Failed;
}

}  // namespace vesk
