#pragma once
// One program at a time writes to a data directory: an exclusive lock on the
// directory itself, held while the object lives (and released by the system
// when the process ends, however it ends). Other programs of ours that only
// read the store do not take it.
#include <filesystem>
#include <string>

namespace vesk {

enum class LockState {
  Held,    // this object holds the lock
  Busy,    // another process holds it
  Failed,  // the lock could not be taken (see error())
};

class DataDirLock {
 public:
  DataDirLock() = default;
  ~DataDirLock();
  DataDirLock(const DataDirLock&) = delete;
  DataDirLock& operator=(const DataDirLock&) = delete;

  // Takes the lock if no other process holds it; does not wait.
  LockState Acquire(const std::filesystem::path& dir);
  // Why Acquire failed.
  const std::string& error() const { return error_; }

 private:
  int fd_ = -1;
  std::string error_;
};

}  // namespace vesk
