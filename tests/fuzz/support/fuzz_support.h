#pragma once
// What the fuzz targets share: a fresh application on the headless twin, the
// input bytes as a file the code under test can open, and a scratch directory
// for the files it writes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/headless/memory_registry.h"
#include "platform/headless/scripted_message_boxes.h"
#include "platform/headless/virtual_clock.h"
#include "reminders/reminder_scheduler.h"
#include "store/app_context.h"

namespace vesk::fuzz {

// The application's store, entry list and reminders over memory, with the
// clock at Wednesday 15 March 2000, 8:00 (New York, where every target runs).
struct FuzzApp {
  FuzzApp();
  MemoryRegistry registry;
  VirtualClock clock;
  ScriptedMessageBoxes boxes;
  AppContext ctx{registry, clock, clock, boxes};
  ReminderScheduler scheduler{ctx};
};

// The bytes as a file in memory, readable by its path while this lives.
class MemoryFile {
 public:
  MemoryFile(const std::uint8_t* data, std::size_t size);
  ~MemoryFile();
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  int fd_;
  std::filesystem::path path_;
};

// A directory of this process for files the code under test writes, on a
// memory file system when the machine has one.
const std::filesystem::path& ScratchDir();

// A property of the code under test does not hold: report it and abort, so
// libFuzzer keeps the input as a crash.
[[noreturn]] void Fail(std::string_view what, std::string_view detail);

}  // namespace vesk::fuzz
