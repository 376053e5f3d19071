#include "support/test_app.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace vesk::test {

TestApp::TestApp(int year, int month, int day, int hour, int minute)
    : TestApp(memory, year, month, day, hour, minute) {}

TestApp::TestApp(Registry& reg, int year, int month, int day, int hour, int minute)
    : registry(reg), ctx(registry, clock, clock, boxes) {
  ctx.armer = &scheduler;
  ctx.presenter = &presenter;
  SetLocalNow(year, month, day, hour, minute);
}

void TestApp::SetLocalNow(int year, int month, int day, int hour, int minute, int second) {
  clock.SetNow(MakeLocalTime(year, month, day, hour, minute, second));
}

CPlannerEntry& TestApp::AddEntry(int year, int month, int day, int hour, int minute,
                                 std::string_view notes) {
  CPlannerEntry& e = ctx.entries.Create();
  e.SetSlot(year, month, day, hour, minute, notes);
  e.Schedule(true);
  return e;
}

void ExpectScriptDone(const ScriptedMessageBoxes& boxes) {
  for (const auto& text : boxes.unexpected()) ADD_FAILURE() << "unexpected message box: " << text;
  for (const auto& text : boxes.Pending()) ADD_FAILURE() << "message box never shown: " << text;
}

ScopedTimeZone::ScopedTimeZone(const char* tz) {
  const char* old = std::getenv("TZ");
  had_ = old != nullptr;
  if (had_) old_ = old;
  setenv("TZ", tz, 1);
  tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
  if (had_)
    setenv("TZ", old_.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "veskcal-test-XXXXXX").string();
  char* made = mkdtemp(tmpl.data());
  path_ = made ? made : "";
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

}  // namespace vesk::test
