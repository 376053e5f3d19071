// The command line on the data, against the running calendar and against
// the store alone, with the real program.
#include <sys/socket.h>
#include <sys/un.h>

#include <QProcess>
#include <cstring>
#include <thread>

#include "interchange/protocol.h"
#include "platform/local_socket.h"
#include "platform/store_lock.h"
#include "program_fixture.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

Outcome Command(const std::filesystem::path& dir, const QStringList& args,
                const std::string& input = {}) {
  QProcess command;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("VESKCAL_HOME", QString::fromStdString(dir.string()));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  command.setProcessEnvironment(env);
  command.start(VESKCAL_BINARY, args);
  if (!command.waitForStarted(10'000)) return {};
  command.write(input.data(), static_cast<qint64>(input.size()));
  command.closeWriteChannel();
  if (!command.waitForFinished(120'000)) return {};
  return {command.exitCode(), command.readAllStandardOutput().toStdString(),
          command.readAllStandardError().toStdString()};
}

// Tomorrow's date as "YYYY-MM-DD".
std::string Tomorrow() {
  const DateTime now = BreakLocalTime(QtClock().Now());
  const DateTime d = BreakLocalTime(MakeLocalTime(now.year, now.month, now.day + 1, 12, 0));
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
  return text;
}

std::string Event(const std::string& date, const std::string& summary) {
  std::string compact = date;
  compact.erase(std::remove(compact.begin(), compact.end(), '-'), compact.end());
  return "BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nUID:cli@example.com\nDTSTART:" + compact +
         "T150000\nDTEND:" + compact + "T160000\nSUMMARY:" + summary +
         "\nEND:VEVENT\nEND:VCALENDAR\n";
}

// Whatever the socket sends back to raw bytes.
std::string RawExchange(const std::filesystem::path& socket, const std::string& bytes) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
  std::string got;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    (void)!::write(fd, bytes.data(), bytes.size());
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) got.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return got;
}

// The same requests give the same answers with and without the calendar.
void CheckCommands(const std::filesystem::path& dir, const std::string& day) {
  Outcome added =
      Command(dir, {"--add", QString::fromStdString(day + " 10:00"), "Dentist", "--remind", "15"});
  EXPECT_EQ(added.status, 0) << added.err;
  EXPECT_EQ(added.out, "Added " + day + " 10:00  Dentist\n");
  EXPECT_EQ(Command(dir, {"--add", QString::fromStdString(day + " 10:00"), "Again"}).err,
            "veskcal: there is already an entry at " + day + " 10:00: Dentist\n");
  EXPECT_EQ(Command(dir, {"--add", QString::fromStdString(day + " 10:10"), "Off"}).status, 2);
  EXPECT_EQ(Command(dir, {"--add", "2026-02-30 10:00", "Never"}).status, 2);

  const Outcome imported = Command(dir, {"--import-ics", "-"}, Event(day, "Meeting"));
  EXPECT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out,
            "Imported 1 event: 0 series, 1 one-off entry, 0 expanded occurrences; 0 skipped\n"
            "  1 event longer than half an hour given \"(continued)\" lines\n");
  EXPECT_EQ(Command(dir, {"--agenda", QString::fromStdString(day)}).out,
            day + " 10:00  Dentist\n" + day + " 15:00  Meeting\n" + day +
                " 15:30  Meeting (continued)\n");
  EXPECT_TRUE(Command(dir, {"--agenda", QString::fromStdString(day), "1", "--json"})
                  .out.starts_with("[\n  {\"date\": \"" + day +
                                   "\", \"time\": \"10:00\", \"text\": \"Dentist\", \"repeat\": 0, "
                                   "\"reminder\": 15},\n"));
  const std::filesystem::path ics = dir / "out.ics";
  const Outcome exported = Command(dir, {"--export-ics", QString::fromStdString(ics.string())});
  EXPECT_EQ(exported.status, 0) << exported.err;
  EXPECT_NE(ReadFile(ics).find("SUMMARY:Meeting\r\n"), std::string::npos);
}

TEST(CommandLineTest, TheCommandsGoThroughTheRunningCalendar) {
  TempDir dir;
  QProcess program;
  StartProgram(program, dir.path());
  CheckCommands(dir.path(), Tomorrow());
  const Outcome next = Command(dir.path(), {"--next"});
  EXPECT_EQ(next.status, 0);

  // Malformed requests get an error reply and the calendar goes on.
  const std::filesystem::path socket = InstanceSocketPath(dir.path());
  EXPECT_NE(RawExchange(socket, Frame("GARBAGE")).find("the message is not ours"),
            std::string::npos);
  EXPECT_NE(RawExchange(socket, Frame(std::string(kMaxRequestBytes + 1, 'x')).substr(0, 4))
                .find("the request is larger than"),
            std::string::npos);
  std::string cut = Frame(EncodeRequest({Command::Next, {"0"}}));
  cut.resize(cut.size() - 1);
  EXPECT_NE(RawExchange(socket, Frame(cut.substr(4))).find("a field is cut short"),
            std::string::npos);
  EXPECT_EQ(Command(dir.path(), {"--next"}).out, next.out);

  EndProgram(program, SIGTERM);
  // The calendar held the entries and wrote each once.
  const std::string backup = ReadFile(MonthBackup(dir.path()));
  EXPECT_EQ(backup.find("|Dentist\n"), backup.rfind("|Dentist\n")) << backup;
  EXPECT_NE(backup.find("|Meeting (continued)\n"), std::string::npos) << backup;
  // Alone, the store answers as the calendar did.
  EXPECT_EQ(Command(dir.path(), {"--next"}).out, next.out);
}

TEST(CommandLineTest, TheCommandsWorkOnTheStoreAlone) {
  TempDir dir;
  CheckCommands(dir.path(), Tomorrow());
  const Outcome missing = Command(dir.path(), {"--import-ics", "missing.ics"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "veskcal: cannot read missing.ics: No such file or directory\n");
}

// A calendar started while a command holds the store, after a moment.
class WaitingCalendarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lock && *lock);
    StartProgram(program, dir.path());
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  }
  bool StoreMade() const {
    return std::filesystem::exists(std::filesystem::path(dir.path()) / "veskcal.db");
  }

  TempDir dir;
  std::expected<std::optional<StoreLock>, std::string> lock =
      StoreLock::TryTake(dir.path(), StoreLock::Mode::Exclusive);
  QProcess program;
};

TEST_F(WaitingCalendarTest, ItWaitsForTheCommand) {
  // Still waiting: no store opened, no socket.
  EXPECT_FALSE(StoreMade());
  EXPECT_TRUE(SendRequest(InstanceSocketPath(dir.path()), "", 100).error().noServer);
  lock->reset();
  const Outcome next = Command(dir.path(), {"--agenda"});
  EXPECT_EQ(next.status, 0) << next.err;
  EXPECT_NE(next.out.find("Welcome to Vesk Calendar!"), std::string::npos);
  EndProgram(program, SIGTERM);
}

// SIGTERM while it waits ends it at once, with nothing opened (before, it
// waited the full minute and then showed its message).
TEST_F(WaitingCalendarTest, AnEndAskedForMeanwhileEndsIt) {
  ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
  ASSERT_TRUE(program.waitForFinished(10'000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  EXPECT_FALSE(StoreMade());
}

}  // namespace
}  // namespace vesk::test
