#include "platform/sqlite/store_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/unique_fd.h"

namespace vesk {
namespace {

constexpr char kSqliteMagic[] = "SQLite format 3";  // 16 bytes with its zero
constexpr std::size_t kHeaderSize = 100;
constexpr std::size_t kApplicationIdOffset = 68;

std::string Errno() { return std::strerror(errno); }

// Reads up to size bytes from the start; the count read, or -1.
ssize_t ReadHead(int fd, unsigned char* buf, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    ssize_t n = ::pread(fd, buf + got, size - got, static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

// Every change is written at once, and the log of changes lives beside the
// file: both must take writes. Says which does not.
std::expected<void, std::string> CheckWritable(const std::filesystem::path& file) {
  const auto readOnly = [](const std::string& what) {
    return std::unexpected(errno == EROFS ? "it is on a read-only file system"
                                          : what + " cannot be written by this user");
  };
  if (::access(file.c_str(), R_OK | W_OK) != 0) return readOnly("it");
  const std::filesystem::path dir = file.has_parent_path() ? file.parent_path() : ".";
  if (::access(dir.c_str(), W_OK | X_OK) != 0) {
    return readOnly("its directory " + dir.string() + ", where the store keeps its log,");
  }
  return {};
}

}  // namespace

std::expected<StoreFileState, std::string> PrepareStoreFile(const std::filesystem::path& file,
                                                            std::int32_t applicationId) {
  // Exclusive creation: a file that appears meanwhile is inspected, not replaced.
  {
    UniqueFd made(::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (made.get() >= 0) {
      if (::fchmod(made.get(), 0600) != 0) return std::unexpected(Errno());
      return StoreFileState{.empty = true, .created = true};
    }
    if (errno != EEXIST) return std::unexpected(Errno());
  }

  UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return std::unexpected(Errno());
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return std::unexpected(Errno());
  if (!S_ISREG(st.st_mode)) return std::unexpected("it is not a regular file");
  if (auto writable = CheckWritable(file); !writable) return std::unexpected(writable.error());
  // An empty file holds nothing to lose (a first start cut short); it becomes
  // the store, for this user only.
  if (st.st_size == 0) {
    if (::chmod(file.c_str(), 0600) != 0) return std::unexpected(Errno());
    return StoreFileState{.empty = true, .created = false};
  }

  unsigned char head[kHeaderSize];
  const ssize_t got = ReadHead(fd.get(), head, sizeof head);
  if (got < 0) return std::unexpected(Errno());
  if (static_cast<std::size_t>(got) < kHeaderSize ||
      std::memcmp(head, kSqliteMagic, sizeof kSqliteMagic) != 0) {
    return std::unexpected("file is not a database");
  }
  const unsigned char* p = head + kApplicationIdOffset;
  const std::uint32_t id = (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) |
                           static_cast<std::uint32_t>(p[3]);
  if (id != static_cast<std::uint32_t>(applicationId)) {
    char text[96];
    std::snprintf(text, sizeof text,
                  "it is an SQLite database of another application (application id 0x%08x)", id);
    return std::unexpected(text);
  }
  return StoreFileState{.empty = false, .created = false};
}

}  // namespace vesk
