#include "interchange/interchange_fixture.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "calendar/calendar.h"
#include "interchange/entry_fields.h"
#include "interchange/requests.h"
#include "store/backup_file.h"
#include "store/repeat_rules.h"

namespace vesk::test {

CPlannerEntry& Type(TestApp& app, int year, int month, int day, int hour, int minute,
                    const std::string& text) {
  return app.AddEntry(year, month, day, hour, minute, text);
}

void Repeat(TestApp& app, CPlannerEntry& e, int code, int untilYear, int untilMonth, int untilDay) {
  const RepeatChoice choice{
      code, MakeLocalTime(untilYear, untilMonth, untilDay, e.hour(), e.minute()), e.day(),
      WeekOrdinal(e.day()), RepeatButtonText(kEveryWeek, e.year(), e.month(), e.day())};
  ApplyRepeatChoice(e, choice);
  app.ctx.entries.SortByTime();
}

CPlannerEntry& Ditto(TestApp& app, int year, int month, int day, int hour, int minute) {
  CPlannerEntry& e = app.ctx.entries.Create();
  e.reminder = 0;
  e.early = -1;
  e.SetSlot(year, month, day, hour, minute, "\"");
  e.Schedule(true);
  const CPlannerEntry* p = app.ctx.entries.PreviousEntry(e);
  e.notes = ContinuedText(p->notes);
  e.nthday = p->nthday;
  e.sday = p->sday;
  e.nthweek = p->nthweek;
  e.repeats = p->repeats;
  e.until = p->until + kLineSeconds;
  e.Schedule(true);
  if (e.repeats != 0) ExpandSeries(e);
  app.ctx.entries.SortByTime();
  return e;
}

std::string BackupWithoutTimers(TestApp& app) {
  TempDir dir;
  app.ctx.dataDir = dir.path();
  const auto file = BackupPath(app.ctx, "backup.test");
  BackupEntries(app.ctx, file, false);
  std::ifstream in(file, std::ios::binary);
  std::string out, line;
  while (std::getline(in, line)) {
    // "%04d|" then the fields; the eighth is the timer id.
    std::size_t at = 5;
    for (int field = 1; field < 8; ++field) at = line.find('|', at) + 1;
    const std::size_t end = line.find('|', at);
    out += line.substr(5, at - 5) + "*" + line.substr(end) + "\n";
  }
  return out;
}

std::string DataFile(const std::string& name) {
  std::ifstream in(std::string(VESKCAL_TESTS_DIR) + "/interchange/data/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

Reply Ask(TestApp& app, Command command, std::vector<std::string> args) {
  return RunRequest(app.ctx, Request{command, std::move(args)});
}

std::vector<std::string> Lines(TestApp& app) {
  std::vector<std::string> out;
  app.ctx.entries.SortByTime();
  app.ctx.entries.ForEach([&](const CPlannerEntry& e) {
    char head[32];
    std::snprintf(head, sizeof head, "%04d-%02d-%02d %02d:%02d ", e.year(), e.month(), e.day(),
                  e.hour(), e.minute());
    std::string line = head + e.notes;
    if (e.repeats != 0) line += " [r" + std::to_string(e.repeats) + "]";
    if (const int lead = LeadOf(e); lead >= 0) line += " (" + std::to_string(lead) + ")";
    if (e.xreminder != 0 && LeadOf(e) >= 0) line += " +day";
    out.push_back(line);
  });
  return out;
}

}  // namespace vesk::test
