// From process start to the first painted month, on Qt's offscreen platform:
// with an empty data directory (first start) and with 100,000 stored entries.
// The program is told to write a line when its month view has first painted;
// the time until that line arrives is the figure. Ending it afterwards (the
// automatic backup) is not timed.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench_data.h"
#include "platform/data_dir.h"

namespace vesk::bench {
namespace {

namespace fs = std::filesystem;

// Starts the program on home and returns once it reports its first paint.
void StartUntilFirstPaint(const fs::path& home) {
  int out[2];
  if (::pipe(out) != 0) throw std::runtime_error("pipe");
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], STDERR_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::setenv("VESKCAL_HOME", home.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("VESKCAL_REPORT_FIRST_PAINT", "1", 1);
    ::execl(VESKCAL_BINARY, VESKCAL_BINARY, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  FILE* stream = ::fdopen(out[0], "r");
  char line[512];
  bool painted = false;
  while (!painted && std::fgets(line, sizeof line, stream) != nullptr)
    painted = std::string(line).starts_with("veskcal: first paint");
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
  std::fclose(stream);
  if (!painted) throw std::runtime_error("the program ended without painting its month");
}

void RunStartup(benchmark::State& state, bool withEntries) {
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path home = DataDir() / ("startup-home-" + std::to_string(round++));
    fs::remove_all(home);
    fs::create_directories(home);
    fs::permissions(home, fs::perms::owner_all, fs::perm_options::replace);
    if (withEntries) fs::copy_file(CopyOfFullStore("startup-copy.db"), home / kStoreFileName);
    state.ResumeTiming();
    StartUntilFirstPaint(home);
  }
}

void BM_StartupToFirstPaintEmptyStore(benchmark::State& state) { RunStartup(state, false); }
BENCHMARK(BM_StartupToFirstPaintEmptyStore)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_StartupToFirstPaint100kEntries(benchmark::State& state) { RunStartup(state, true); }
BENCHMARK(BM_StartupToFirstPaint100kEntries)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace vesk::bench

BENCHMARK_MAIN();
