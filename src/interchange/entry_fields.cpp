#include "interchange/entry_fields.h"

#include <cstdio>

#include "calendar/calendar.h"
#include "platform/utf8.h"
#include "store/planner_entry.h"

namespace vesk {

Slot Slot::Later(int lines) const {
  const int minutes = hour * 60 + minute + lines * kLineMinutes;
  return {year, month, day, minutes / 60, minutes % 60};
}

Slot SlotOf(const CPlannerEntry& e) { return {e.year(), e.month(), e.day(), e.hour(), e.minute()}; }

Slot SlotAt(LocalTime t) {
  const DateTime d = BreakLocalTime(t);
  return {d.year, d.month, d.day, d.hour, d.minute < kLineMinutes ? 0 : kLineMinutes};
}

int LeadOf(const CPlannerEntry& e) { return e.reminder != 0 && e.early != -1 ? e.early : -1; }

EntryFields FieldsOf(const CPlannerEntry& e) {
  return {SlotOf(e), e.notes, LeadOf(e), e.xreminder != 0, e.repeats, e.nthday, e.nthweek, e.sday};
}

void ApplyFields(CPlannerEntry& e, const EntryFields& f) {
  e.notes = f.notes;
  // No reminder is stored as an early of -1, which the copies of a series
  // inherit, so a series made without reminders stays without.
  e.reminder = f.lead >= 0 ? 1 : 0;
  e.early = f.lead >= 0 ? f.lead : -1;
  e.xreminder = f.dayEarly ? 1 : 0;
  e.repeats = f.repeats;
  e.nthday = f.nthday;
  e.nthweek = f.nthweek;
  e.sday = f.sday;
}

std::string ContinuedText(std::string_view head) {
  std::string text(head);
  if (text.find("continued") == std::string::npos) text += " (continued)";
  return text;
}

std::string TimePrefix(int hour, int minute) {
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d ", hour, minute);
  return text;
}

std::optional<TimedText> SplitTimePrefix(std::string_view text, const Slot& slot) {
  int hour = 0, minute = 0, used = 0;
  const std::string head(text.substr(0, 6));
  if (std::sscanf(head.c_str(), "%2d:%2d %n", &hour, &minute, &used) != 2 || used == 0)
    return std::nullopt;
  // Exactly the form TimePrefix writes, for the line the entry stands in.
  if (TimePrefix(hour, minute) != text.substr(0, static_cast<std::size_t>(used)) ||
      hour != slot.hour || minute <= slot.minute || minute >= slot.minute + kLineMinutes)
    return std::nullopt;
  const std::string_view rest = text.substr(static_cast<std::size_t>(used));
  if (rest.empty()) return std::nullopt;
  return TimedText{minute - slot.minute, rest};
}

std::string LineText(std::string_view text, bool& cut, std::size_t limit) {
  std::string line;
  line.reserve(text.size());
  bool space = false;
  for (char c : text) {
    // Line breaks and tabs become single spaces: a line holds one line of text.
    if (c == '\n' || c == '\r' || c == '\t') {
      space = !line.empty();
      continue;
    }
    if (space) line += ' ';
    space = false;
    line += c;
  }
  cut = Utf8Length(line) > limit;
  if (cut) line.resize(Utf8Offset(line, limit));
  // A cut between two words leaves no blank at the end.
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

std::string EveryWeekdayText(int weekday) {
  return "every " + std::string(WeekdayName(weekday).value_or(""));
}

}  // namespace vesk
