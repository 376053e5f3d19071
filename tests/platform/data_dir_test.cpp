#include "platform/data_dir.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include "support/test_app.h"

namespace vesk {
namespace {

// Sets (or, with nullopt, removes) an environment variable for its lifetime.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

unsigned Mode(const std::filesystem::path& p) {
  struct stat st {};
  return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(DataDirTest, VeskcalHomeThenXdgDataHomeThenHome) {
  struct Row {
    std::optional<std::string> veskcalHome, xdgDataHome, home;
    std::string expected;
  };
  const Row rows[] = {
      {"/profile/two", "/xdg", "/home/u", "/profile/two"},
      {"", "/xdg", "/home/u", "/xdg/veskcal"},
      {std::nullopt, "/xdg", "/home/u", "/xdg/veskcal"},
      {std::nullopt, "", "/home/u", "/home/u/.local/share/veskcal"},
      {std::nullopt, std::nullopt, "/home/u", "/home/u/.local/share/veskcal"},
      // A relative XDG_DATA_HOME is invalid and ignored.
      {std::nullopt, "relative/data", "/home/u", "/home/u/.local/share/veskcal"},
  };
  for (const Row& row : rows) {
    ScopedEnv a("VESKCAL_HOME", row.veskcalHome);
    ScopedEnv b("XDG_DATA_HOME", row.xdgDataHome);
    ScopedEnv c("HOME", row.home);
    EXPECT_EQ(DataDirectory(), std::filesystem::path(row.expected)) << row.expected;
  }
}

TEST(DataDirTest, EnsureCreatesTheDirectoryAndItsParentsUserOnly) {
  test::TempDir tmp;
  const std::filesystem::path dir = std::filesystem::path(tmp.path()) / "a" / "b" / "veskcal";
  ScopedEnv home("VESKCAL_HOME", dir.string());
  const mode_t oldMask = ::umask(022);
  const auto made = EnsureDataDirectory();
  ::umask(oldMask);
  ASSERT_TRUE(made) << made.error();
  EXPECT_EQ(*made, dir);
  EXPECT_EQ(Mode(dir), 0700u);
  // Parents are ordinary directories, not user-only ones.
  EXPECT_EQ(Mode(dir.parent_path()), 0755u);
  // A second call finds it.
  EXPECT_TRUE(EnsureDataDirectory());
}

TEST(DataDirTest, OurDirectoryAndStoreOpenToOthersAreMadePrivateAndSaySo) {
  test::TempDir tmp;
  const std::filesystem::path dir = std::filesystem::path(tmp.path()) / "shared";
  ASSERT_EQ(::mkdir(dir.c_str(), 0750), 0);
  ::chmod(dir.c_str(), 0750);
  std::ofstream(dir / "veskcal.db") << "store";
  std::ofstream(dir / "veskcal.db-wal") << "log";
  std::ofstream(dir / "backup.March") << "backup";
  for (const char* name : {"veskcal.db", "veskcal.db-wal", "backup.March"})
    ::chmod((dir / name).c_str(), 0644);
  // Reached through a link of our own, which is followed.
  const std::filesystem::path link = std::filesystem::path(tmp.path()) / "link";
  std::filesystem::create_directory_symlink(dir, link);
  ScopedEnv home("VESKCAL_HOME", link.string());
  std::vector<std::string> notices;
  const auto found = EnsureDataDirectory(&notices);
  ASSERT_TRUE(found) << found.error();
  EXPECT_EQ(Mode(dir), 0700u);
  EXPECT_EQ(Mode(dir / "veskcal.db"), 0600u);
  EXPECT_EQ(Mode(dir / "veskcal.db-wal"), 0600u);
  EXPECT_EQ(Mode(dir / "backup.March"), 0644u);  // a backup is no store file
  EXPECT_EQ(notices, (std::vector<std::string>{
                         "The data directory " + link.string() +
                             " was open to other users (mode 0750); it is now 0700.",
                         "The store file " + (link / "veskcal.db").string() +
                             " was open to other users (mode 0644); it is now 0600.",
                         "The store file " + (link / "veskcal.db-wal").string() +
                             " was open to other users (mode 0644); it is now 0600."}));
  notices.clear();
  ASSERT_TRUE(EnsureDataDirectory(&notices));
  EXPECT_TRUE(notices.empty());
}

TEST(DataDirTest, ADirectoryEverybodyMayWriteToIsRefused) {
  test::TempDir tmp;
  const std::filesystem::path dir = std::filesystem::path(tmp.path()) / "public";
  ASSERT_EQ(::mkdir(dir.c_str(), 0777), 0);
  ::chmod(dir.c_str(), 01777);
  ScopedEnv home("VESKCAL_HOME", dir.string());
  const auto result = EnsureDataDirectory();
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error(), "Cannot use the data directory " + dir.string() +
                                ": everybody may write to it (mode 1777)");
  EXPECT_EQ(Mode(dir), 01777u);
}

// Another user's place: owned by "nobody" (only root can make one).
class OtherUsersPlaceTest : public ::testing::Test {
 protected:
  static constexpr uid_t kNobody = 65534;
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "making another user's files needs root";
    ASSERT_EQ(::mkdir(theirs.c_str(), 0700), 0);
    ASSERT_EQ(::chown(theirs.c_str(), kNobody, kNobody), 0);
  }
  test::TempDir tmp;
  std::filesystem::path theirs = std::filesystem::path(tmp.path()) / "theirs";
};

TEST_F(OtherUsersPlaceTest, ALinkToAnotherUsersDirectoryIsRefusedAndSaysWhere) {
  const std::filesystem::path link = std::filesystem::path(tmp.path()) / "veskcal";
  std::filesystem::create_directory_symlink(theirs, link);
  ScopedEnv home("VESKCAL_HOME", link.string());
  const auto result = EnsureDataDirectory();
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error(), "Cannot use the data directory " + link.string() +
                                ": it is a symbolic link to " + theirs.string() +
                                ", which belongs to another user (uid 65534)");
}

TEST_F(OtherUsersPlaceTest, AnotherUsersDirectoryOrStoreFileIsRefusedAndLeftAlone) {
  ScopedEnv home("VESKCAL_HOME", theirs.string());
  auto result = EnsureDataDirectory();
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error(), "Cannot use the data directory " + theirs.string() +
                                ": it belongs to another user (uid 65534)");
  EXPECT_EQ(Mode(theirs), 0700u);

  const std::filesystem::path ours = std::filesystem::path(tmp.path()) / "ours";
  ASSERT_EQ(::mkdir(ours.c_str(), 0700), 0);
  std::ofstream(ours / "veskcal.db-shm") << "shared memory";
  ASSERT_EQ(::chown((ours / "veskcal.db-shm").c_str(), kNobody, kNobody), 0);
  ::chmod((ours / "veskcal.db-shm").c_str(), 0644);
  ScopedEnv mine("VESKCAL_HOME", ours.string());
  result = EnsureDataDirectory();
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error(), "Cannot use the data directory " + ours.string() +
                                ": the store file veskcal.db-shm belongs to another user (uid "
                                "65534)");
  EXPECT_EQ(Mode(ours / "veskcal.db-shm"), 0644u);
}

TEST(DataDirTest, WithoutHomeTheUserDatabaseNamesItAndWithoutEitherItIsSaid) {
  ScopedEnv a("VESKCAL_HOME", std::nullopt);
  ScopedEnv b("XDG_DATA_HOME", std::nullopt);
  passwd* pw = ::getpwuid(::getuid());
  ASSERT_NE(pw, nullptr);
  for (std::optional<std::string> home :
       {std::optional<std::string>(), std::optional<std::string>(""),
        std::optional<std::string>("relative/home")}) {
    ScopedEnv c("HOME", home);
    EXPECT_EQ(DataDirectory(), std::filesystem::path(pw->pw_dir) / ".local/share/veskcal");
  }
  if (::geteuid() != 0) GTEST_SKIP() << "a user without an entry needs root to become";
  // A user the database does not know, in a child that becomes it.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::unsetenv("HOME");
    if (::setgid(54321) != 0 || ::setuid(54321) != 0) ::_exit(2);
    const auto result = EnsureDataDirectory();
    const bool said = !result &&
                      result.error().starts_with(
                          "Cannot find the data directory: HOME "
                          "is not set") &&
                      result.error().find("VESKCAL_HOME") != std::string::npos;
    ::_exit(DataDirectory().empty() && said ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(DataDirTest, AFileInTheWayIsReportedWithTheDirectoryName) {
  test::TempDir tmp;
  const std::filesystem::path dir = std::filesystem::path(tmp.path()) / "veskcal";
  std::ofstream(dir) << "not a directory";
  ScopedEnv home("VESKCAL_HOME", dir.string());
  auto result = EnsureDataDirectory();
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error(), "Cannot create the data directory " + dir.string() +
                                ": it exists and is not a directory");
  const std::filesystem::path below = dir / "sub";
  ScopedEnv deeper("VESKCAL_HOME", below.string());
  result = EnsureDataDirectory();
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().rfind("Cannot create the data directory " + below.string() + ": ", 0),
            0u)
      << result.error();
}

}  // namespace
}  // namespace vesk
