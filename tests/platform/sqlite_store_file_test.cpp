// The store file on disk: what a new one looks like, what is refused and left
// untouched, and what survives a killed process.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

#include "platform/sqlite/sqlite_registry.h"
#include "support/test_app.h"

namespace vesk {
namespace {

using Bytes = std::vector<char>;

Bytes ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

unsigned Mode(const std::filesystem::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return 0;
  return st.st_mode & 0777;
}

class StoreFileTest : public testing::Test {
 protected:
  // A real store with enough keys to fill several pages, closed again.
  void MakeStore() {
    auto store = SqliteRegistry::Open(file);
    ASSERT_TRUE(store) << store.error();
    Registry::Transaction group(**store);
    for (int i = 0; i < 300; ++i) {
      const std::string key = "App\\Appointments\\2000_3\\" + std::to_string(i);
      ASSERT_EQ((*store)->CreateKey(key), OpenResult::Created);
      ASSERT_TRUE((*store)->SetValue(key, "notes", RegValue::FromString(std::string(60, 'n'))));
    }
    ASSERT_EQ((*store)->CreateKey("App\\Marked"), OpenResult::Created);
    ASSERT_TRUE((*store)->SetValue("App\\Marked", kMarker, RegValue::FromDword(1)));
    ASSERT_TRUE(group.Commit());
  }

  // Opening fails, the message names the file and the reason, and the file
  // is byte for byte what it was.
  void ExpectRefused(const Bytes& before, const std::string& reason) {
    auto store = SqliteRegistry::Open(file);
    ASSERT_FALSE(store) << reason;
    EXPECT_NE(store.error().find("Cannot open the store " + file.string() + ": "),
              std::string::npos)
        << store.error();
    EXPECT_NE(store.error().find(reason), std::string::npos) << store.error();
    EXPECT_EQ(ReadBytes(file), before) << reason;
  }

  static constexpr std::string_view kMarker = "MarkerValueName";
  test::TempDir dir;
  std::filesystem::path file = std::filesystem::path(dir.path()) / "veskcal.db";
};

TEST_F(StoreFileTest, ANewStoreAndItsLogAreForThisUserOnly) {
  auto store = SqliteRegistry::Open(file);
  ASSERT_TRUE(store) << store.error();
  ASSERT_EQ((*store)->CreateKey("App"), OpenResult::Created);
  EXPECT_EQ(Mode(file), 0600u);
  const std::string wal = file.string() + "-wal";
  const std::string shm = file.string() + "-shm";
  ASSERT_TRUE(std::filesystem::exists(wal));
  ASSERT_TRUE(std::filesystem::exists(shm));
  EXPECT_EQ(Mode(wal), 0600u);
  EXPECT_EQ(Mode(shm), 0600u);
}

TEST_F(StoreFileTest, AnEmptyFileBecomesTheStore) {
  WriteBytes(file, {});
  ::chmod(file.c_str(), 0644);
  {
    auto store = SqliteRegistry::Open(file);
    ASSERT_TRUE(store) << store.error();
    ASSERT_EQ((*store)->CreateKey("App"), OpenResult::Created);
  }
  EXPECT_EQ(Mode(file), 0600u);
  auto store = SqliteRegistry::Open(file);
  ASSERT_TRUE(store) << store.error();
  EXPECT_TRUE((*store)->OpenKey("App"));
}

TEST_F(StoreFileTest, RandomBytesAreRefusedAndLeftAlone) {
  std::mt19937 rng(7);
  Bytes noise(8192);
  for (char& c : noise) c = static_cast<char>(rng());
  WriteBytes(file, noise);
  ExpectRefused(noise, "file is not a database");
  Bytes shortHeader(40, '\0');
  std::copy_n("SQLite format 3", 16, shortHeader.begin());
  WriteBytes(file, shortHeader);
  ExpectRefused(shortHeader, "file is not a database");
}

TEST_F(StoreFileTest, ATruncatedStoreIsRefusedAndLeftAlone) {
  MakeStore();
  Bytes bytes = ReadBytes(file);
  ASSERT_GT(bytes.size(), 8u * 4096);
  bytes.resize(bytes.size() / 2);
  WriteBytes(file, bytes);
  ExpectRefused(bytes, "");
}

TEST_F(StoreFileTest, OtherSqliteDatabasesAreRefusedAndLeftAlone) {
  MakeStore();
  const Bytes ours = ReadBytes(file);
  struct Patch {
    std::size_t offset;
    Bytes bytes;
    std::string reason;
  };
  const Patch patches[] = {
      {68, {0x12, 0x34, 0x56, 0x78}, "another application (application id 0x12345678)"},
      {68, {0, 0, 0, 0}, "another application (application id 0x00000000)"},
      {60, {0, 0, 0, 0}, "another version of the program (store version 0)"},
  };
  for (const Patch& patch : patches) {
    Bytes bytes = ours;
    std::copy(patch.bytes.begin(), patch.bytes.end(), bytes.begin() + patch.offset);
    WriteBytes(file, bytes);
    ExpectRefused(bytes, patch.reason);
  }
}

TEST_F(StoreFileTest, AStoreOfANewerVersionIsRefusedAndLeftAlone) {
  MakeStore();
  Bytes bytes = ReadBytes(file);
  bytes[63] = 2;  // the low byte of the big-endian user version
  WriteBytes(file, bytes);
  ExpectRefused(bytes,
                "it was written by a newer version of Vesk Calendar (store version 2; "
                "this one reads version 1)");
}

// A child process holds the store's write lock and never lets go.
TEST_F(StoreFileTest, AStoreLockedByAnotherProcessIsRefusedAfterABoundedWait) {
  MakeStore();
  const Bytes before = ReadBytes(file);
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto store = SqliteRegistry::Open(file);
    if (!store) ::_exit(2);
    (*store)->BeginTransaction();
    if (::write(fds[1], "l", 1) != 1) ::_exit(3);
    ::pause();
    ::_exit(0);
  }
  char locked = 0;
  ASSERT_EQ(::read(fds[0], &locked, 1), 1);
  const auto started = std::chrono::steady_clock::now();
  auto store = SqliteRegistry::Open(file, 300);
  const auto waited = std::chrono::steady_clock::now() - started;
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(fds[0]);
  ::close(fds[1]);
  ASSERT_FALSE(store);
  EXPECT_EQ(store.error(), "Cannot open the store " + file.string() +
                               ": it is locked by another process, which did not let go "
                               "within 0.3 seconds");
  EXPECT_GE(waited, std::chrono::milliseconds(300));
  EXPECT_EQ(ReadBytes(file), before);
  // Once it is gone the store opens as it was.
  store = SqliteRegistry::Open(file);
  ASSERT_TRUE(store) << store.error();
  EXPECT_EQ((*store)->QueryValue("App\\Marked", kMarker), RegValue::FromDword(1));
}

// Runs fn in a child process (as the user "nobody" when the tests run as root,
// so that permissions hold) and returns its exit status; fn's text goes to stderr.
int InChild(const std::function<std::string()>& fn, bool asNobody) {
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (asNobody && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    const std::string failure = fn();
    if (!failure.empty()) std::fprintf(stderr, "%s\n", failure.c_str());
    ::_exit(failure.empty() ? 0 : 1);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST_F(StoreFileTest, AStoreOnAPlaceThatCannotBeWrittenIsRefusedAndSaysWhich) {
  MakeStore();
  const Bytes before = ReadBytes(file);
  ::chmod(dir.path().c_str(), 0755);
  struct Case {
    unsigned fileMode, dirMode;
    std::string reason;
  };
  const Case cases[] = {
      {0444, 0777, "it cannot be written by this user"},
      {0666, 0555,
       "its directory " + std::string(dir.path()) +
           ", where the store keeps its log, cannot be written by this user"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    ::chmod(file.c_str(), c.fileMode);
    ::chmod(dir.path().c_str(), c.dirMode);
    const int status = InChild(
        [&] {
          auto store = SqliteRegistry::Open(file);
          if (store) return std::string("opened");
          const std::string expected = "Cannot open the store " + file.string() + ": " + c.reason;
          return store.error() == expected ? std::string() : store.error();
        },
        true);
    EXPECT_EQ(status, 0);
  }
  ::chmod(dir.path().c_str(), 0700);
  ::chmod(file.c_str(), 0600);
  EXPECT_EQ(ReadBytes(file), before);
}

// The file-size limit stands in for a full disk: the write fails, the failure
// is told once with SQLite's reason, and the store keeps what it held.
TEST_F(StoreFileTest, AWriteThatFindsTheDiskFullIsToldAndTheStoreKeepsWhatItHeld) {
  MakeStore();
  const int status = InChild(
      [&] {
        auto store = SqliteRegistry::Open(file);
        if (!store) return store.error();
        std::vector<std::string> told;
        (*store)->SetFailureHandler([&](const std::string& reason) { told.push_back(reason); });
        ::signal(SIGXFSZ, SIG_IGN);
        // Smaller than a page of the log: the first change finds no room.
        const rlimit limit{1024, 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("no file-size limit");
        const std::string big(256 * 1024, 'x');
        if ((*store)->CreateKey("App\\Big") != OpenResult::Failed) return std::string("created");
        if ((*store)->SetValue("App\\Marked", "big", RegValue::FromString(big)))
          return std::string("written");
        if (told.size() != 1) return "told " + std::to_string(told.size()) + " times";
        if (told[0] != "disk I/O error" && told[0] != "database or disk is full")
          return "told " + told[0];
        // Memory holds what the file holds.
        if ((*store)->OpenKey("App\\Big") || (*store)->QueryValue("App\\Marked", "big"))
          return std::string("memory kept the failed write");
        return std::string();
      },
      false);
  EXPECT_EQ(status, 0);
  auto store = SqliteRegistry::Open(file);
  ASSERT_TRUE(store) << store.error();
  EXPECT_EQ((*store)->QueryValue("App\\Marked", kMarker), RegValue::FromDword(1));
  EXPECT_FALSE((*store)->OpenKey("App\\Big"));
  EXPECT_EQ((*store)->Values("App\\Appointments\\2000_3\\299").size(), 1u);
}

TEST_F(StoreFileTest, AStoreWithMalformedValuesIsRefusedAndLeftAlone) {
  MakeStore();
  Bytes bytes = ReadBytes(file);
  // Make the length in front of the marked value's name absurd: the page
  // stays valid for SQLite, only our encoding of the values is broken.
  int patched = 0;
  for (auto it = std::search(bytes.begin(), bytes.end(), kMarker.begin(), kMarker.end());
       it != bytes.end(); it = std::search(it + 1, bytes.end(), kMarker.begin(), kMarker.end())) {
    ASSERT_GE(it - bytes.begin(), 4);
    std::fill(it - 4, it, '\xff');
    ++patched;
  }
  ASSERT_GT(patched, 0);
  WriteBytes(file, bytes);
  ExpectRefused(bytes, "is malformed");
}

TEST_F(StoreFileTest, ADirectoryOrAMissingFolderIsReported) {
  std::filesystem::create_directory(file);
  auto store = SqliteRegistry::Open(file);
  ASSERT_FALSE(store);
  EXPECT_EQ(store.error(), "Cannot open the store " + file.string() + ": it is not a regular file");
  const auto missing = std::filesystem::path(dir.path()) / "nowhere" / "veskcal.db";
  store = SqliteRegistry::Open(missing);
  ASSERT_FALSE(store);
  EXPECT_EQ(store.error(),
            "Cannot open the store " + missing.string() + ": No such file or directory");
}

// The program's own open leaves the whole-file check for later: a cut-off
// file is still refused at once from its length, damage inside a page is left
// to Verify, and a log left behind by a killed program brings the page check
// forward.
TEST_F(StoreFileTest, ADeferredOpenRefusesWhatItCanSeeAndVerifyFindsTheRest) {
  const auto deferred = [&] {
    return SqliteRegistry::Open(file, SqliteRegistry::kDefaultBusyTimeoutMs,
                                SqliteRegistry::Check::Deferred);
  };
  MakeStore();
  const Bytes sound = ReadBytes(file);
  EXPECT_TRUE(deferred());
  EXPECT_EQ(SqliteRegistry::Verify(file), "");

  Bytes cut = sound;
  cut.resize(cut.size() / 2);
  WriteBytes(file, cut);
  auto refused = deferred();
  ASSERT_FALSE(refused);
  EXPECT_EQ(ReadBytes(file), cut);

  Bytes damaged = sound;
  const auto at = std::search(damaged.begin(), damaged.end(), kMarker.begin(), kMarker.end());
  ASSERT_NE(at, damaged.end());
  std::fill(at - 4, at, '\xff');
  WriteBytes(file, damaged);
  EXPECT_TRUE(deferred());
  EXPECT_NE(SqliteRegistry::Verify(file).find("is malformed"), std::string::npos);
  EXPECT_EQ(ReadBytes(file), damaged);

  // A log of the same size as a page of garbage stands for an unclean end.
  WriteBytes(file, sound);
  Bytes pages = sound;
  std::fill(pages.begin() + 8192, pages.end(), '\x5a');
  WriteBytes(file, pages);
  WriteBytes(file.string() + "-wal", Bytes(32, '\0'));
  refused = deferred();
  ASSERT_FALSE(refused);
  EXPECT_EQ(ReadBytes(file), pages);
}

// Commands that read and find no store at the same moment (writers wait for
// the store lock, readers share it) each make it or take the one made
// meanwhile, however busy the machine.
TEST_F(StoreFileTest, StoresMadeAtTheSameMomentAreOneStore) {
  constexpr int kRounds = 10;
  constexpr int kOpeners = 6;
  for (int round = 0; round < kRounds; ++round) {
    std::filesystem::remove(file);
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < kOpeners; ++i) {
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        ::close(go[1]);
        char byte;
        if (::read(go[0], &byte, 1) != 0) ::_exit(4);  // released by the close
        auto store = SqliteRegistry::Open(file);
        if (!store) {
          std::fprintf(stderr, "%s\n", store.error().c_str());
          ::_exit(2);
        }
        const std::string key = "App\\" + std::to_string(i);
        ::_exit((*store)->CreateKey(key) == OpenResult::Created ? 0 : 3);
      }
      children.push_back(child);
    }
    ::close(go[0]);
    ::close(go[1]);
    for (pid_t child : children) {
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
    }
    auto store = SqliteRegistry::Open(file);
    ASSERT_TRUE(store) << store.error();
    std::string name;
    std::size_t keys = 0;
    while ((*store)->EnumSubKey("App", keys, name) == EnumResult::Ok) ++keys;
    ASSERT_EQ(keys, static_cast<std::size_t>(kOpeners)) << "round " << round;
  }
}

// A child commits one key after another and reports each finished commit
// through a pipe; it is killed mid-way. Every reported commit must be there.
TEST_F(StoreFileTest, EveryCommitReportedBeforeAKillSurvivesIt) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(fds[0]);
    auto store = SqliteRegistry::Open(file);
    if (!store) ::_exit(2);
    for (std::int32_t i = 0; i < 1000000; ++i) {
      const std::string key = "Keys\\" + std::to_string(i);
      Registry::Transaction group(**store);
      if ((*store)->CreateKey(key) != OpenResult::Created) ::_exit(3);
      if (!(*store)->SetValue(key, "n", RegValue::FromDword(i))) ::_exit(3);
      if (!(*store)->SetValue(key, "text", RegValue::FromString(std::string(200, 'x')))) {
        ::_exit(3);
      }
      if (!group.Commit()) ::_exit(3);
      if (::write(fds[1], &i, sizeof i) != sizeof i) ::_exit(4);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  std::int32_t reported = -1;
  std::int32_t got;
  while (::read(fds[0], &got, sizeof got) == sizeof got) {
    reported = got;
    if (reported == 300) ::kill(child, SIGKILL);
  }
  ::close(fds[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended on its own with " << status;
  ASSERT_GE(reported, 300);

  auto store = SqliteRegistry::Open(file);
  ASSERT_TRUE(store) << store.error();
  for (std::int32_t i = 0; i <= reported; ++i) {
    const std::string key = "Keys\\" + std::to_string(i);
    ASSERT_EQ((*store)->QueryValue(key, "n"), RegValue::FromDword(i)) << key;
    ASSERT_EQ((*store)->QueryValue(key, "text"), RegValue::FromString(std::string(200, 'x')));
  }
  // A commit cut off by the kill is either whole or absent.
  std::string name;
  for (std::size_t i = 0; (*store)->EnumSubKey("Keys", i, name) == EnumResult::Ok; ++i) {
    EXPECT_EQ((*store)->Values(JoinKey("Keys", name)).size(), 2u) << name;
  }
}

}  // namespace
}  // namespace vesk
