#include "platform/data_dir.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

namespace vesk {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::filesystem::path HomeDirectory() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  // No HOME (a service or a stripped environment): ask the user database.
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buf(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd pw{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir) {
    return found->pw_dir;
  }
  return "/";
}

std::string Failure(const std::filesystem::path& dir, const std::string& reason) {
  return "Cannot create the data directory " + dir.string() + ": " + reason;
}

}  // namespace

std::filesystem::path DataDirectory() {
  std::string home = Env("VESKCAL_HOME");
  if (!home.empty()) return home;
  // XDG treats a relative path as invalid, to be ignored.
  std::filesystem::path xdg = Env("XDG_DATA_HOME");
  if (!xdg.empty() && xdg.is_absolute()) return xdg / "veskcal";
  return HomeDirectory() / ".local" / "share" / "veskcal";
}

std::expected<std::filesystem::path, std::string> EnsureDataDirectory() {
  const std::filesystem::path dir = DataDirectory();
  std::error_code ec;
  const std::filesystem::path parent = dir.parent_path();
  if (!parent.empty()) {
    std::filesystem::create_directories(parent, ec);
    if (ec) return std::unexpected(Failure(dir, ec.message()));
  }
  if (::mkdir(dir.c_str(), 0700) == 0) {
    // The umask may have taken bits away; the store is for this user only.
    if (::chmod(dir.c_str(), 0700) != 0) return std::unexpected(Failure(dir, std::strerror(errno)));
    return dir;
  }
  const int err = errno;
  if (err != EEXIST) return std::unexpected(Failure(dir, std::strerror(err)));
  if (!std::filesystem::is_directory(dir, ec)) {
    return std::unexpected(Failure(dir, "it exists and is not a directory"));
  }
  return dir;
}

}  // namespace vesk
