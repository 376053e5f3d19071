#include "app/data_command.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <thread>
#include <variant>

#include "interchange/requests.h"
#include "platform/data_dir.h"
#include "platform/headless/memory_registry.h"
#include "platform/local_socket.h"
#include "platform/sqlite/sqlite_registry.h"
#include "platform/store_lock.h"
#include "store/app_context.h"
#include "store/whole_file.h"

namespace vesk {
namespace {

using Steady = std::chrono::steady_clock;
constexpr auto kPoll = std::chrono::milliseconds(50);
// A calendar starting up, or another command, holds the store this long at most.
constexpr auto kWaitForStore = std::chrono::seconds(60);
constexpr auto kShowProgressAfter = std::chrono::seconds(1);
constexpr int kShowTimeoutMs = 5000;

bool ReadsOnly(Command c) { return c == Command::Agenda || c == Command::Next; }

// A command's context has no timers: nothing it does is armed.
class NoTimers : public Timers {
 public:
  int SetTimer(int, unsigned, Callback) override { return 0; }
  void KillTimer(int) override {}
};

// What the store would show in a message box goes to the terminal.
class TerminalMessages : public MessageBoxes {
 public:
  MbResult Show(std::string_view text, MbButtons buttons, std::string_view) override {
    std::fprintf(stderr, "veskcal: %.*s\n", static_cast<int>(text.size()), text.data());
    return buttons == MbButtons::YesNo      ? MbResult::No
           : buttons == MbButtons::OkCancel ? MbResult::Cancel
                                            : MbResult::Ok;
  }
};

// "veskcal: importing 45%" on a terminal, once the work takes longer than a second.
class Progress {
 public:
  explicit Progress(std::string what) : what_(std::move(what)), shown_(::isatty(2) == 1) {}
  ~Progress() {
    if (printed_) std::fprintf(stderr, "\r\033[K");
  }
  void Fraction(double share) { Print(std::to_string(static_cast<int>(share * 100)) + "%"); }
  void Waiting() {
    Print(std::to_string(
              std::chrono::duration_cast<std::chrono::seconds>(Steady::now() - start_).count()) +
          " s");
  }

 private:
  void Print(const std::string& how) {
    if (!shown_ || Steady::now() - start_ < kShowProgressAfter) return;
    std::fprintf(stderr, "\rveskcal: %s %s\033[K", what_.c_str(), how.c_str());
    printed_ = true;
  }
  std::string what_;
  bool shown_;
  bool printed_ = false;
  Steady::time_point start_ = Steady::now();
};

std::expected<std::string, std::string> ReadInput(const std::string& file) {
  if (file == "-") {
    std::ostringstream text;
    text << std::cin.rdbuf();
    return text.str();
  }
  auto content = ReadWholeFile(file);
  if (!content) return std::unexpected("cannot read " + file + ": " + content.error().reason);
  return *std::move(content);
}

int Print(const Reply& reply, const DataCommand& command) {
  std::fwrite(reply.out.data(), 1, reply.out.size(), stdout);
  std::fwrite(reply.err.data(), 1, reply.err.size(), stderr);
  if (reply.status == 0 && command.request.command == Command::ExportIcs) {
    if (command.file == "-") {
      std::fwrite(reply.document.data(), 1, reply.document.size(), stdout);
    } else if (auto written = WriteFileAtomically(command.file, reply.document); !written) {
      std::fprintf(stderr, "veskcal: cannot write %s: %s\n", command.file.c_str(),
                   written.error().c_str());
      return kFailed;
    }
  }
  std::fflush(stdout);
  return reply.status;
}

// The store as the command needs it, read as it is asked; an empty one when
// there is none and the command only reads.
std::expected<std::unique_ptr<Registry>, std::string> OpenFor(Command command,
                                                             const std::filesystem::path& file) {
  std::error_code ec;
  if (ReadsOnly(command) && !std::filesystem::exists(file, ec))
    return std::make_unique<MemoryRegistry>();
  auto store = SqliteRegistry::Open(file, SqliteRegistry::kDefaultBusyTimeoutMs,
                                    SqliteRegistry::Check::Deferred);
  if (!store) return std::unexpected(store.error());
  return std::unique_ptr<Registry>(std::move(*store));
}

// Runs the request on the store, which this process holds the lock of. The
// file's content goes as soon as it is read.
Reply RunOnStore(Request request, const std::filesystem::path& dir, Clock& clock,
                 Progress& progress) {
  auto registry = OpenFor(request.command, dir / kStoreFileName);
  if (!registry) return ErrorReply(registry.error());
  NoTimers timers;
  TerminalMessages messages;
  AppContext ctx(**registry, clock, timers, messages);
  ctx.dataDir = dir;
  LoadForRequest(ctx, request);
  CalendarStep step = PrepareRequest(request, static_cast<LocalTime>(clock.Now()),
                                     [&](double share) { progress.Fraction(share); });
  request = {};
  return step(ctx)();
}

}  // namespace

int RunDataCommand(const DataCommand& given, Clock& clock) {
  DataCommand command = given;
  if (command.request.command == Command::ImportIcs) {
    auto content = ReadInput(command.file);
    if (!content) {
      std::fprintf(stderr, "veskcal: %s\n", content.error().c_str());
      return kFailed;
    }
    command.request.args[1] = *std::move(content);
  }
  auto dir = EnsureDataDirectory();
  if (!dir) {
    std::fprintf(stderr, "veskcal: %s\n", dir.error().c_str());
    return kFailed;
  }
  std::string payload = EncodeRequest(command.request);
  const std::filesystem::path socket = InstanceSocketPath(*dir);
  const auto mode =
      ReadsOnly(command.request.command) ? StoreLock::Mode::Shared : StoreLock::Mode::Exclusive;
  Progress progress(command.request.command == Command::ExportIcs ? "exporting" : "importing");
  const auto deadline = Steady::now() + kWaitForStore;
  for (;;) {
    // The running calendar answers while a big import runs in it; a terminal
    // sees the time go by.
    std::atomic<bool> done = false;
    std::thread ticker;
    if (!ReadsOnly(command.request.command))
      ticker = std::thread([&] {
        while (!done) {
          std::this_thread::sleep_for(std::chrono::milliseconds(250));
          if (!done) progress.Waiting();
        }
      });
    auto reply = SendRequest(socket, payload, kMaxReplyBytes);
    done = true;
    if (ticker.joinable()) ticker.join();
    if (reply) {
      auto parsed = ParseReply(*reply);
      if (!parsed) {
        std::fprintf(stderr, "veskcal: the calendar's answer is not understood: %s\n",
                     parsed.error().c_str());
        return kFailed;
      }
      return Print(*parsed, command);
    }
    if (!reply.error().noServer) {
      std::fprintf(stderr, "veskcal: %s\n", reply.error().message.c_str());
      return kFailed;
    }
    auto lock = StoreLock::TryTake(*dir, mode);
    if (!lock) {
      std::fprintf(stderr, "veskcal: %s\n", lock.error().c_str());
      return kFailed;
    }
    if (*lock) {
      // The request's bytes are not needed any more, nor the file in them.
      std::string().swap(payload);
      const DataCommand printed{Request{command.request.command, {}}, command.file};
      return Print(RunOnStore(std::move(command.request), *dir, clock, progress), printed);
    }
    // A calendar is starting, or another command works on the store.
    if (Steady::now() > deadline) {
      std::fprintf(stderr,
                   "veskcal: the store in %s stays in use by another program; try again later\n",
                   dir->c_str());
      return kFailed;
    }
    std::this_thread::sleep_for(kPoll);
  }
}

std::expected<std::optional<StoreLock>, std::string> ClaimStore(
    const std::filesystem::path& dir, const std::function<bool()>& stop) {
  const std::filesystem::path socket = InstanceSocketPath(dir);
  const std::string show = EncodeRequest({Command::Show, {}});
  const auto start = Steady::now();
  bool told = false;
  for (;;) {
    auto reply = SendRequest(socket, show, kMaxReplyBytes, {kShowTimeoutMs, kShowTimeoutMs});
    if (reply) return std::optional<StoreLock>();
    if (!reply.error().noServer) return std::unexpected(reply.error().message);
    auto lock = StoreLock::TryTake(dir, StoreLock::Mode::Exclusive);
    if (!lock) return std::unexpected(lock.error());
    if (*lock) return std::move(*lock);
    if (stop && stop()) return std::optional<StoreLock>();
    if (Steady::now() - start > kWaitForStore)
      return std::unexpected("another program holds the store in " + dir.string() +
                             " and does not let go");
    if (!told && Steady::now() - start > kShowProgressAfter) {
      std::fprintf(stderr, "veskcal: waiting for a command to finish with the store\n");
      told = true;
    }
    std::this_thread::sleep_for(kPoll);
  }
}

}  // namespace vesk
