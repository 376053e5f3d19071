#include "reminders/next_appointment.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string_view>

#include "calendar/calendar.h"
#include "calendar/local_time.h"
#include "store/app_context.h"
#include "store/entry_list.h"
#include "store/planner_entry.h"

namespace vesk {

namespace {

constexpr std::int64_t kOneWeek = 604800;

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::size_t CountChars(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return !IsUtf8Continuation(c); }));
}

// The byte length of the first n characters of text.
std::size_t PrefixBytes(std::string_view text, std::size_t n) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsUtf8Continuation(text[i])) continue;
    if (chars == n) return i;
    ++chars;
  }
  return text.size();
}

// "2:05pm", or "14:05" on the 24-hour clock; hour 0 shows as "0:30am".
std::string TimeOfDay(int hour, int minute, bool use24Hour) {
  const char* suffix = "";
  if (!use24Hour) {
    suffix = hour > 11 ? "pm" : "am";
    if (hour > 12) hour -= 12;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d:%02d%s", hour, minute, suffix);
  return buf;
}

bool SameMonthDay(const CPlannerEntry& e, const DateTime& d) {
  return e.month() == d.month && e.day() == d.day;
}

}  // namespace

std::string NextAppointmentText(AppContext& ctx, std::int64_t now) {
  constexpr std::int64_t kMin = std::numeric_limits<LocalTime>::min();
  constexpr std::int64_t kMax = std::numeric_limits<LocalTime>::max();
  // Scheduling leaves changed times out of order until the next sort.
  ctx.entries.SortByTime();
  const CPlannerEntry* e =
      ctx.entries.FindAfter(static_cast<LocalTime>(std::clamp(now, kMin, kMax)));
  if (!e) return kNoAppointments;

  const std::string at = TimeOfDay(e->hour(), e->minute(), ctx.options.a24hour != 0);
  const DateTime today = BreakLocalTime(now);
  // The calendar day after today, taken at noon: now + 86,400 s would skip a
  // day or stay on today across a daylight-saving change.
  const DateTime tomorrow =
      BreakLocalTime(MakeLocalTime(today.year, today.month, today.day + 1, 12, 0));
  const std::string_view weekday = WeekdayName(BreakLocalTime(e->time()).weekday).value_or("");

  std::string text;
  if (SameMonthDay(*e, today)) {
    text = at + ": " + e->notes + " ";
  } else if (SameMonthDay(*e, tomorrow)) {
    text = " Tomorrow at " + at + ": " + e->notes + " ";
  } else if (e->time() < now + kOneWeek) {
    text = std::string(weekday) + " " + at + ": " + e->notes + " ";
  } else {
    text = std::string(weekday) + ", " + std::string(MonthName(e->month()).value_or("")) + " " +
           std::to_string(e->day()) + " " + at + ": " + e->notes + " ";
  }

  if (CountChars(text) > kTooltipLimit) {
    text.resize(PrefixBytes(text, kTooltipKept));
    text += "...";
  }
  return text;
}

std::optional<std::string> TooltipText::Update(AppContext& ctx, std::int64_t now) {
  if (last_ == now) return std::nullopt;
  last_ = now;
  return NextAppointmentText(ctx, now);
}

}  // namespace vesk
