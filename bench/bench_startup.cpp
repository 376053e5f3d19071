// From process start to the first painted month, on Qt's offscreen platform:
// with an empty data directory (first start) and with 1,000, 100,000 and
// 1,000,000 stored one-off entries. The program is told to write a line when
// its month view has first painted; the time until that line arrives is the
// figure, and the peak resident memory of the process up to then is reported
// beside it. The program is then killed: its end is not what is measured.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

#include "bench_data.h"
#include "platform/data_dir.h"

namespace vesk::bench {
namespace {

namespace fs = std::filesystem;

// VmHWM of the process, in megabytes; 0 when it cannot be read.
double PeakResidentMb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

// Starts the program on home, waits for its report of the first paint, kills
// it and returns its peak resident memory in megabytes.
double StartUntilFirstPaint(const fs::path& home) {
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
    // VESKCAL_BENCH_PROGRAM measures another build (an earlier one, to compare).
    const char* program = std::getenv("VESKCAL_BENCH_PROGRAM");
    if (program == nullptr || *program == '\0') program = VESKCAL_BINARY;
    ::execl(program, program, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  FILE* stream = ::fdopen(out[0], "r");
  char line[512];
  bool painted = false;
  while (!painted && std::fgets(line, sizeof line, stream) != nullptr)
    painted = std::string(line).starts_with("veskcal: first paint");
  // The program's own high-water mark: a child's rusage would count the
  // benchmark's memory from before the exec.
  const double peakMb = PeakResidentMb(pid);
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  std::fclose(stream);
  if (!painted) throw std::runtime_error("the program ended without painting its month");
  return peakMb;
}

void RunStartup(benchmark::State& state, std::optional<DataSet> set) {
  int round = 0;
  double peakMb = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path home = DataDir() / ("startup-home-" + std::to_string(round++));
    fs::remove_all(home);
    fs::create_directories(home);
    fs::permissions(home, fs::perms::owner_all, fs::perm_options::replace);
    if (set) fs::rename(CopyOfStore(*set, "startup-copy.db"), home / kStoreFileName);
    state.ResumeTiming();
    peakMb = std::max(peakMb, StartUntilFirstPaint(home));
    state.PauseTiming();
    fs::remove_all(home);
    state.ResumeTiming();
  }
  state.counters["peak_rss_mb"] = peakMb;
}

void BM_StartupToFirstPaintEmptyStore(benchmark::State& state) { RunStartup(state, {}); }
BENCHMARK(BM_StartupToFirstPaintEmptyStore)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

void BM_StartupToFirstPaint1kEntries(benchmark::State& state) {
  RunStartup(state, DataSet::OneOff1k);
}
BENCHMARK(BM_StartupToFirstPaint1kEntries)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

void BM_StartupToFirstPaint100kEntries(benchmark::State& state) {
  RunStartup(state, DataSet::OneOff100k);
}
BENCHMARK(BM_StartupToFirstPaint100kEntries)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

void BM_StartupToFirstPaint1MEntries(benchmark::State& state) {
  RunStartup(state, DataSet::OneOff1M);
}
BENCHMARK(BM_StartupToFirstPaint1MEntries)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

}  // namespace
}  // namespace vesk::bench

BENCHMARK_MAIN();
