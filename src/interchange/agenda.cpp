#include "interchange/agenda.h"

#include <charconv>
#include <cstdio>

#include "calendar/calendar.h"
#include "interchange/entry_fields.h"
#include "platform/utf8.h"
#include "reminders/next_appointment.h"
#include "store/app_context.h"
#include "store/text_encoding.h"

namespace vesk {
namespace {

constexpr int kFirstUserYear = 1990;
constexpr int kLastUserYear = 2036;

std::optional<int> ParseNumber(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

bool IsDate(int year, int month, int day) {
  return year >= kFirstUserYear && year <= kLastUserYear && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

// "YYYY-MM-DD", checked to be a real date of the calendar's years.
std::optional<DateTime> ParseDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  auto y = ParseNumber(text.substr(0, 4));
  auto m = ParseNumber(text.substr(5, 2));
  auto d = ParseNumber(text.substr(8, 2));
  if (!y || !m || !d || !IsDate(*y, *m, *d)) return std::nullopt;
  DateTime date;
  date.year = *y;
  date.month = *m;
  date.day = *d;
  return date;
}

// "YYYY-MM-DD HH:MM" (or "H:MM") of a real date of the calendar's years; the
// minute may be any.
std::optional<Slot> ParseWhen(std::string_view when) {
  if (when.size() < 15 || when[10] != ' ') return std::nullopt;
  const auto date = ParseDate(when.substr(0, 10));
  const std::string_view clock = when.substr(11);
  const auto colon = clock.find(':');
  if (!date || colon == std::string_view::npos || clock.size() - colon != 3) return std::nullopt;
  const auto hour = ParseNumber(clock.substr(0, colon));
  const auto minute = ParseNumber(clock.substr(colon + 1));
  if (!hour || !minute || *hour < 0 || *hour > 23 || *minute < 0 || *minute > 59)
    return std::nullopt;
  return Slot{date->year, date->month, date->day, *hour, *minute};
}

std::string DateText(int year, int month, int day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

std::string TimeText(int hour, int minute) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
  return text;
}

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (char c : ToUtf8(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
      out += escape;
    } else {
      out += c;
    }
  }
  out += '"';
}

std::string JsonObject(const CPlannerEntry& e) {
  std::string out = "{\"date\": \"" + DateText(e.year(), e.month(), e.day()) + "\", \"time\": \"" +
                    TimeText(e.hour(), e.minute()) + "\", \"text\": ";
  AppendJsonString(out, e.notes);
  const int lead = LeadOf(e);
  out += ", \"repeat\": " + std::to_string(e.repeats) +
         ", \"reminder\": " + (lead >= 0 ? std::to_string(lead) : std::string("null")) + "}";
  return out;
}

}  // namespace

std::expected<AgendaRange, std::string> ParseAgendaRange(std::string_view date,
                                                         std::string_view days, LocalTime now) {
  AgendaRange range;
  if (date.empty()) {
    const DateTime today = BreakLocalTime(now);
    range.year = today.year;
    range.month = today.month;
    range.day = today.day;
  } else {
    auto d = ParseDate(date);
    if (!d)
      return std::unexpected("\"" + std::string(date) +
                             "\" is not a date of the years 1990 to 2036 (YYYY-MM-DD)");
    range.year = d->year;
    range.month = d->month;
    range.day = d->day;
  }
  if (!days.empty()) {
    auto n = ParseNumber(days);
    if (!n || *n < 1 || *n > kMaxAgendaDays)
      return std::unexpected("the number of days must be 1 to " + std::to_string(kMaxAgendaDays));
    range.days = *n;
  }
  return range;
}

std::vector<YearMonth> MonthsOf(const AgendaRange& range) {
  const DateTime last =
      BreakLocalTime(MakeLocalTime(range.year, range.month, range.day + range.days - 1, 12, 0));
  std::vector<YearMonth> months;
  for (YearMonth m{range.year, range.month};;) {
    months.push_back(m);
    if (m.year == last.year && m.month == last.month) break;
    if (++m.month > 12) {
      m.month = 1;
      ++m.year;
    }
  }
  return months;
}

std::string AgendaText(CEntryList& entries, const AgendaRange& range, bool json) {
  entries.SortByTime();
  std::string out = json ? "[" : "";
  bool first = true;
  for (int i = 0; i < range.days; ++i) {
    // The date at noon: a day of 23 or 25 hours never skips or repeats a date.
    const DateTime d = BreakLocalTime(MakeLocalTime(range.year, range.month, range.day + i, 12, 0));
    for (const CPlannerEntry* e : entries.EntriesOn(d.year, d.month, d.day)) {
      if (json) {
        out += first ? "\n  " : ",\n  ";
        out += JsonObject(*e);
      } else {
        out += DateText(e->year(), e->month(), e->day()) + " " + TimeText(e->hour(), e->minute()) +
               "  " + e->notes + "\n";
      }
      first = false;
    }
  }
  if (json) out += first ? "]\n" : "\n]\n";
  return out;
}

std::string NextText(AppContext& ctx, LocalTime now, bool json) {
  if (!json) return NextAppointmentText(ctx, now) + "\n";
  ctx.entries.SortByTime();
  const CPlannerEntry* e = ctx.entries.FindAfter(now);
  return (e ? JsonObject(*e) : std::string("null")) + "\n";
}

std::expected<std::string, Refusal> AddEntry(AppContext& ctx, std::string_view when,
                                             std::string_view text, std::string_view minutes) {
  const auto refuse = [](std::string message) {
    return std::unexpected(Refusal{std::move(message)});
  };
  const std::optional<Slot> at = ParseWhen(when);
  if (!at)
    return refuse("\"" + std::string(when) +
                  "\" is not a date and time of the years 1990 to 2036 (\"YYYY-MM-DD HH:MM\")");
  if (at->minute != 0 && at->minute != kLineMinutes)
    return refuse("an entry starts on the hour or the half hour, not at " +
                  TimeText(at->hour, at->minute));
  if (text.empty()) return refuse("the text is empty");
  if (text.find_first_of("\r\n") != std::string_view::npos)
    return refuse("the text must be one line");
  if (Utf8Length(text) > kEntryTextLimit)
    return refuse("the text is longer than " + std::to_string(kEntryTextLimit) + " characters");
  std::optional<int> lead;
  if (!minutes.empty()) {
    lead = ParseNumber(minutes);
    if (!lead || *lead < 0 || *lead > kMaxLeadMinutes)
      return refuse("a reminder is 0 to " + std::to_string(kMaxLeadMinutes) + " minutes early");
  }
  const std::string line =
      DateText(at->year, at->month, at->day) + " " + TimeText(at->hour, at->minute);
  if (const CPlannerEntry* taken =
          ctx.entries.FindAt(at->year, at->month, at->day, at->hour, at->minute))
    return refuse("there is already an entry at " + line + ": " + taken->notes);

  Registry::Transaction tx(ctx.registry);
  CPlannerEntry& e = ctx.entries.Create();
  e.SetSlot(at->year, at->month, at->day, at->hour, at->minute, text);
  if (lead) e.early = *lead;
  e.Schedule(true);
  if (!tx.Commit()) {
    if (e.timer != 0) ctx.timers.KillTimer(e.timer);
    ctx.entries.Discard(e);
    return std::unexpected(Refusal{"the calendar store could not be written", true});
  }
  ctx.entries.SortByTime();
  return "Added " + line + "  " + std::string(text) + "\n";
}

}  // namespace vesk
