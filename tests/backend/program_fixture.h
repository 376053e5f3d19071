#pragma once
// The built program run offscreen on a data directory of its own.
#include <signal.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "backend_fixture.h"
#include "calendar/local_time.h"
#include "platform/qt/qt_clock.h"
#include "store/backup_file.h"

namespace vesk::test {

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::filesystem::path MonthBackup(const std::filesystem::path& dir) {
  return dir / AutoBackupName(BreakLocalTime(QtClock().Now()).month);
}

// Whether the process has a handler of its own for sig (its SigCgt mask).
inline bool CatchesSignal(qint64 pid, int sig) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("SigCgt:", 0) == 0)
      return (std::stoull(line.substr(7), nullptr, 16) >> (sig - 1)) & 1;
  }
  return false;
}

// The program runs offscreen on the data directory.
inline void UseDataDirectory(QProcess& program, const std::filesystem::path& dir) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("VESKCAL_HOME", QString::fromStdString(dir.string()));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  program.setProcessEnvironment(env);
}

// Starts the program on the data directory and waits until it handles the
// ending signals (a signal from then on waits for its event loop).
inline void StartProgram(QProcess& program, const std::filesystem::path& dir) {
  UseDataDirectory(program, dir);
  program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  program.start(VESKCAL_BINARY, QStringList{});
  ASSERT_TRUE(program.waitForStarted(10'000));
  const auto ready = [&] {
    return CatchesSignal(program.processId(), SIGTERM) &&
           CatchesSignal(program.processId(), SIGINT) && CatchesSignal(program.processId(), SIGHUP);
  };
  QDeadlineTimer deadline(60'000);
  while (!ready() && !deadline.hasExpired()) program.waitForFinished(50);
  ASSERT_TRUE(ready());
}

inline void EndProgram(QProcess& program, int sig) {
  ::kill(static_cast<pid_t>(program.processId()), sig);
  ASSERT_TRUE(program.waitForFinished(60'000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
}

}  // namespace vesk::test
