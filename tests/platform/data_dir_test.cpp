#include "platform/data_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <optional>

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

TEST(DataDirTest, AnExistingDirectoryKeepsItsMode) {
  test::TempDir tmp;
  const std::filesystem::path dir = std::filesystem::path(tmp.path()) / "shared";
  ASSERT_EQ(::mkdir(dir.c_str(), 0750), 0);
  ScopedEnv home("VESKCAL_HOME", dir.string());
  const auto found = EnsureDataDirectory();
  ASSERT_TRUE(found) << found.error();
  EXPECT_EQ(Mode(dir), 0750u);
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
