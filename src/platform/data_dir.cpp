#include "platform/data_dir.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

namespace vesk {
namespace {

// The files of the store; the backups and sounds beside them are not secret.
constexpr const char* kStoreSuffixes[] = {"", "-wal", "-shm", "-journal"};

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// $HOME, else the user database's home directory; empty when neither names
// an absolute path (a service or a stripped environment).
std::filesystem::path HomeDirectory() {
  std::filesystem::path home = Env("HOME");
  if (home.is_absolute()) return home;
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buf(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd pw{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir) {
    home = found->pw_dir;
    if (home.is_absolute()) return home;
  }
  return {};
}

std::string Failure(const std::filesystem::path& dir, const std::string& reason) {
  return "Cannot create the data directory " + dir.string() + ": " + reason;
}

std::string Refusal(const std::filesystem::path& dir, const std::string& reason) {
  return "Cannot use the data directory " + dir.string() + ": " + reason;
}

std::string Octal(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

std::string OwnerText(uid_t uid) { return "another user (uid " + std::to_string(uid) + ")"; }

// A directory of ours open to others becomes 0700; one of another user, or
// one everybody may write to (a shared place like /tmp), is refused.
std::expected<void, std::string> SecureDirectory(const std::filesystem::path& dir,
                                                 std::vector<std::string>* notices) {
  struct stat link {};
  if (::lstat(dir.c_str(), &link) != 0) return std::unexpected(Refusal(dir, std::strerror(errno)));
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0) return std::unexpected(Refusal(dir, std::strerror(errno)));
  if (!S_ISDIR(st.st_mode))
    return std::unexpected(Failure(dir, "it exists and is not a directory"));
  if (st.st_uid != ::geteuid()) {
    if (S_ISLNK(link.st_mode)) {
      std::error_code ec;
      const std::filesystem::path target = std::filesystem::canonical(dir, ec);
      return std::unexpected(Refusal(dir, "it is a symbolic link to " + target.string() +
                                              ", which belongs to " + OwnerText(st.st_uid)));
    }
    return std::unexpected(Refusal(dir, "it belongs to " + OwnerText(st.st_uid)));
  }
  if ((st.st_mode & S_IWOTH) != 0) {
    return std::unexpected(
        Refusal(dir, "everybody may write to it (mode " + Octal(st.st_mode) + ")"));
  }
  if ((st.st_mode & 077) != 0) {
    if (::chmod(dir.c_str(), 0700) != 0) return std::unexpected(Refusal(dir, std::strerror(errno)));
    if (notices) {
      notices->push_back("The data directory " + dir.string() + " was open to other users (mode " +
                         Octal(st.st_mode) + "); it is now 0700.");
    }
  }
  return {};
}

// The store's files: ours and open to others become 0600; another user's are refused.
std::expected<void, std::string> SecureStoreFiles(const std::filesystem::path& dir,
                                                  std::vector<std::string>* notices) {
  for (const char* suffix : kStoreSuffixes) {
    const std::filesystem::path file = dir / (std::string(kStoreFileName) + suffix);
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) continue;  // missing (or a dangling link): SQLite says
    if (st.st_uid != ::geteuid()) {
      return std::unexpected(Refusal(dir, "the store file " + file.filename().string() +
                                              " belongs to " + OwnerText(st.st_uid)));
    }
    if (!S_ISREG(st.st_mode) || (st.st_mode & 077) == 0) continue;
    if (::chmod(file.c_str(), 0600) != 0)
      return std::unexpected(Refusal(dir, std::strerror(errno)));
    if (notices) {
      notices->push_back("The store file " + file.string() + " was open to other users (mode " +
                         Octal(st.st_mode) + "); it is now 0600.");
    }
  }
  return {};
}

}  // namespace

std::filesystem::path DataDirectory() {
  std::string home = Env("VESKCAL_HOME");
  if (!home.empty()) return home;
  // XDG treats a relative path as invalid, to be ignored.
  std::filesystem::path xdg = Env("XDG_DATA_HOME");
  if (!xdg.empty() && xdg.is_absolute()) return xdg / "veskcal";
  const std::filesystem::path user = HomeDirectory();
  if (user.empty()) return {};
  return user / ".local" / "share" / "veskcal";
}

std::expected<std::filesystem::path, std::string> EnsureDataDirectory(
    std::vector<std::string>* notices) {
  const std::filesystem::path dir = DataDirectory();
  if (dir.empty()) {
    return std::unexpected(
        "Cannot find the data directory: HOME is not set and the user database names no home "
        "directory for this user. Set VESKCAL_HOME to the directory the calendar should use.");
  }
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
  if (auto secured = SecureDirectory(dir, notices); !secured)
    return std::unexpected(secured.error());
  if (auto secured = SecureStoreFiles(dir, notices); !secured)
    return std::unexpected(secured.error());
  return dir;
}

}  // namespace vesk
