#pragma once
// A fresh application on the headless twin: in-memory registry, virtual clock,
// scripted message boxes and a presenter that records reminder pop-ups.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/local_time.h"
#include "platform/headless/memory_registry.h"
#include "platform/headless/scripted_message_boxes.h"
#include "platform/headless/virtual_clock.h"
#include "reminders/reminder_scheduler.h"
#include "store/app_context.h"

namespace vesk::test {

struct ShownReminder {
  int month, day, hour, minute;
  std::string text;
  bool dayEarly;
  bool operator==(const ShownReminder&) const = default;
};

class RecordingPresenter : public ReminderPresenter {
 public:
  void ActivateMainFrame() override { ++activations; }
  void ShowReminder(const ReminderNotice& n) override {
    shown.push_back({n.month, n.day, n.hour, n.minute, n.text, n.dayEarly});
    notices.push_back(n);
  }
  void ShowMissed(const std::vector<ReminderNotice>& list) override { missed.push_back(list); }
  int activations = 0;
  std::vector<ShownReminder> shown;
  std::vector<ReminderNotice> notices;  // the same pop-ups, whole
  std::vector<std::vector<ReminderNotice>> missed;
};

class TestApp {
 public:
  // The clock starts at the given local date and time.
  explicit TestApp(int year = 2000, int month = 3, int day = 15, int hour = 8, int minute = 0);
  explicit TestApp(Registry& registry, int year = 2000, int month = 3, int day = 15, int hour = 8,
                   int minute = 0);

  void SetLocalNow(int year, int month, int day, int hour, int minute, int second = 0);
  // Makes a scheduled, saved entry.
  CPlannerEntry& AddEntry(int year, int month, int day, int hour, int minute,
                          std::string_view notes);

  MemoryRegistry memory;
  Registry& registry;
  VirtualClock clock;
  ScriptedMessageBoxes boxes;
  AppContext ctx;
  ReminderScheduler scheduler{ctx};
  RecordingPresenter presenter;
};

// Fails the running test when a message box came that the script did not
// expect, or an expected one never came.
void ExpectScriptDone(const ScriptedMessageBoxes& boxes);

// Sets TZ for the lifetime of the object.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* tz);
  ~ScopedTimeZone();

 private:
  std::string old_;
  bool had_;
};

// A fresh temporary directory removed at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace vesk::test
