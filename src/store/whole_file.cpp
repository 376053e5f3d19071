#include "store/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace vesk {
namespace {

std::string Reason(int err) { return std::generic_category().message(err); }

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Makes the rename itself durable; a directory that cannot be synced still
// holds the new file, so a failure here is not reported.
void SyncDirectory(const std::filesystem::path& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void RemoveUnfinishedWrites(const std::filesystem::path& dir,
                            std::initializer_list<std::string_view> prefixes) {
  constexpr std::size_t kUniqueChars = 6;  // mkostemp's XXXXXX
  std::error_code ec;
  for (const auto& item : std::filesystem::directory_iterator(dir, ec)) {
    const std::string name = item.path().filename().string();
    if (name.size() < 2 + kUniqueChars + 1 || name[0] != '.' ||
        name[name.size() - kUniqueChars - 1] != '.' || !item.is_regular_file(ec))
      continue;
    const std::string_view target =
        std::string_view(name).substr(1, name.size() - kUniqueChars - 2);
    for (std::string_view prefix : prefixes) {
      if (target.starts_with(prefix)) {
        std::filesystem::remove(item.path(), ec);
        break;
      }
    }
  }
}

AtomicFile::AtomicFile(std::filesystem::path file) : file_(std::move(file)) {
  std::filesystem::path dir = file_.parent_path();
  if (dir.empty()) dir = ".";
  tmp_ = (dir / ("." + file_.filename().string() + ".XXXXXX")).string();
  fd_ = ::mkostemp(tmp_.data(), O_CLOEXEC);
  if (fd_ < 0) error_ = errno;
}

AtomicFile::~AtomicFile() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(tmp_.c_str());
}

void AtomicFile::Write(std::string_view bytes) {
  if (error_ == 0 && !WriteAll(fd_, bytes)) error_ = errno;
}

std::expected<void, std::string> AtomicFile::Commit() {
  if (fd_ < 0) return std::unexpected(Reason(error_));
  int err = error_;
  if (err == 0 && ::fsync(fd_) != 0) err = errno;
  if (::close(fd_) != 0 && err == 0) err = errno;
  fd_ = -1;
  if (err == 0 && ::rename(tmp_.c_str(), file_.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(tmp_.c_str());
    return std::unexpected(Reason(err));
  }
  std::filesystem::path dir = file_.parent_path();
  SyncDirectory(dir.empty() ? std::filesystem::path(".") : dir);
  return {};
}

std::expected<void, std::string> WriteFileAtomically(const std::filesystem::path& file,
                                                     std::string_view bytes) {
  AtomicFile out(file);
  out.Write(bytes);
  return out.Commit();
}

std::expected<std::string, ReadFailure> ReadWholeFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::unexpected(ReadFailure{true, Reason(errno)});
  std::string out;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && st.st_size > 0) out.reserve(static_cast<std::size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      return std::unexpected(ReadFailure{false, Reason(err)});
    }
    out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return out;
}

}  // namespace vesk
