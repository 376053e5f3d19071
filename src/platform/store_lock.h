#pragma once
// The lock file beside the store. The running calendar holds it exclusively
// for its whole run; a command that opens the store itself holds it while it
// works (shared when it only reads), so neither opens the store under the
// other's feet. The lock goes with the process, however it ends.
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vesk {

inline constexpr std::string_view kLockFileName = "veskcal.lock";

class StoreLock {
 public:
  enum class Mode { Shared, Exclusive };

  // Takes the lock in dir without waiting: none when another process holds
  // it; the error when the lock file cannot be used at all.
  static std::expected<std::optional<StoreLock>, std::string> TryTake(
      const std::filesystem::path& dir, Mode mode);

  StoreLock(StoreLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  StoreLock& operator=(StoreLock&& other) noexcept;
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;
  ~StoreLock();

 private:
  explicit StoreLock(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace vesk
