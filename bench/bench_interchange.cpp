// The command line on the data, run as the user runs it: `veskcal
// --import-ics` of 10,000 and 100,000 one-off events over ten years (the
// files are made here), `--export-ics` of 100,000, and `--agenda` for a month
// of a store of 100,000 entries, with and without the calendar running. The
// peak memory of each command is reported as peak_MB (GNU time, the package
// "time", measures it); the import's two halves
// (reading off the user-interface thread, storing on it) are timed on their
// own as the running calendar does them.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_data.h"
#include "interchange/ics_import.h"
#include "platform/data_dir.h"

namespace vesk::bench {
namespace {

namespace fs = std::filesystem;

// One-off events on random half-hour lines of ten years, half an hour or an
// hour long, every third with a reminder.
fs::path EventsFile(int count) {
  const fs::path file = DataDir() / ("events-" + std::to_string(count) + ".ics");
  if (fs::exists(file)) return file;
  std::mt19937 rng(static_cast<unsigned>(count));
  std::uniform_int_distribution<int> day(0, 3651), line(16, 43), length(1, 2);
  std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//Events//EN\r\n";
  const LocalTime first = MakeLocalTime(kNowYear - 5, kNowMonth, 1, 12, 0);
  char buf[512];
  for (int i = 0; i < count; ++i) {
    const DateTime d = BreakLocalTime(first + static_cast<LocalTime>(day(rng)) * 86400);
    const int start = line(rng) * 30, end = start + 30 * length(rng);
    std::snprintf(buf, sizeof buf,
                  "BEGIN:VEVENT\r\nUID:bench-%d@example.com\r\nDTSTAMP:20260601T120000Z\r\n"
                  "DTSTART:%04d%02d%02dT%02d%02d00\r\nDTEND:%04d%02d%02dT%02d%02d00\r\n"
                  "SUMMARY:Appointment number %d\r\n",
                  i, d.year, d.month, d.day, start / 60, start % 60, d.year, d.month, d.day,
                  end / 60, end % 60, i);
    text += buf;
    if (i % 3 == 0)
      text +=
          "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Reminder\r\nTRIGGER:-PT15M\r\nEND:"
          "VALARM\r\n";
    text += "END:VEVENT\r\n";
  }
  text += "END:VCALENDAR\r\n";
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

fs::path FreshHome(const std::string& name) {
  const fs::path home = DataDir() / name;
  fs::remove_all(home);
  fs::create_directories(home);
  fs::permissions(home, fs::perms::owner_all, fs::perm_options::replace);
  return home;
}

struct Run {
  int status = -1;
  double peakMb = 0;
};

// Runs the program with args on home, its output thrown away. GNU time runs
// it, so that its peak memory is its own and not this process's.
Run Command(const fs::path& home, const std::vector<std::string>& args) {
  const fs::path peak = DataDir() / "peak.txt";
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::setenv("VESKCAL_HOME", home.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::vector<const char*> argv{"/usr/bin/time", "-f", "%M", "-o", peak.c_str(), VESKCAL_BINARY};
    for (const std::string& a : args) argv.push_back(a.c_str());
    argv.push_back(nullptr);
    ::execv(argv[0], const_cast<char* const*>(argv.data()));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  double kb = 0;
  std::ifstream(peak) >> kb;
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, kb / 1024.0};
}

void Check(const Run& run, benchmark::State& state) {
  if (run.status != 0) state.SkipWithError("the command failed");
  state.counters["peak_MB"] = run.peakMb;
}

void RunImport(benchmark::State& state) {
  const fs::path file = EventsFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path home = FreshHome("import-home");
    state.ResumeTiming();
    Check(Command(home, {"--import-ics", file.string()}), state);
  }
}
BENCHMARK(RunImport)
    ->Name("BM_ImportIcsCommand")
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

void BM_ExportIcsCommand100k(benchmark::State& state) {
  const fs::path home = FreshHome("export-home");
  fs::copy_file(CopyOfFullStore("export.db"), home / kStoreFileName);
  const fs::path out = DataDir() / "exported.ics";
  for (auto _ : state) Check(Command(home, {"--export-ics", out.string()}), state);
  state.counters["bytes"] = static_cast<double>(fs::file_size(out));
}
BENCHMARK(BM_ExportIcsCommand100k)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The calendar on home, until it has painted its month (and listens).
pid_t StartCalendar(const fs::path& home) {
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
  while (std::fgets(line, sizeof line, stream) != nullptr)
    if (std::string(line).starts_with("veskcal: first paint")) break;
  // The calendar goes on writing to a pipe nobody reads; its messages are few.
  std::fclose(stream);
  return pid;
}

void StopCalendar(pid_t pid) {
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
}

void RunAgenda(benchmark::State& state, bool calendarRunning) {
  const fs::path home = FreshHome(calendarRunning ? "agenda-running" : "agenda-alone");
  fs::copy_file(CopyOfFullStore("agenda.db"), home / kStoreFileName);
  const pid_t calendar = calendarRunning ? StartCalendar(home) : 0;
  char month[16];
  std::snprintf(month, sizeof month, "%04d-%02d-01", kNowYear, kNowMonth);
  for (auto _ : state) Check(Command(home, {"--agenda", month, "30"}), state);
  if (calendar) StopCalendar(calendar);
}

void BM_AgendaMonthStoreAlone(benchmark::State& state) { RunAgenda(state, false); }
BENCHMARK(BM_AgendaMonthStoreAlone)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_AgendaMonthCalendarRunning(benchmark::State& state) { RunAgenda(state, true); }
BENCHMARK(BM_AgendaMonthCalendarRunning)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->UseRealTime();

void BM_ImportIcsCalendarRunning(benchmark::State& state) {
  const fs::path file = EventsFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path home = FreshHome("import-running");
    const pid_t calendar = StartCalendar(home);
    state.ResumeTiming();
    Check(Command(home, {"--import-ics", file.string()}), state);
    state.PauseTiming();
    StopCalendar(calendar);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ImportIcsCalendarRunning)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

// The running calendar's share of an import: reading the file off its
// user-interface thread, then storing the entries on it.
void BM_ImportReadOffTheUiThread(benchmark::State& state) {
  std::ifstream in(EventsFile(static_cast<int>(state.range(0))), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  const LocalTime now = MakeLocalTime(kNowYear, kNowMonth, kNowDay, 9, 0);
  for (auto _ : state) benchmark::DoNotOptimize(PlanImport(text, now));
}
BENCHMARK(BM_ImportReadOffTheUiThread)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_ImportStoredOnTheUiThread(benchmark::State& state) {
  std::ifstream in(EventsFile(static_cast<int>(state.range(0))), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  const LocalTime now = MakeLocalTime(kNowYear, kNowMonth, kNowDay, 9, 0);
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path file = DataDir() / ("ui-" + std::to_string(round++) + ".db");
    auto app = std::make_unique<App>(file);
    ImportPlan plan = PlanImport(text, now);
    state.ResumeTiming();
    if (!ApplyImport(*app->ctx, std::move(plan)).ok) state.SkipWithError("the import failed");
    state.PauseTiming();
    app.reset();
    fs::remove(file);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ImportStoredOnTheUiThread)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace
}  // namespace vesk::bench

BENCHMARK_MAIN();
