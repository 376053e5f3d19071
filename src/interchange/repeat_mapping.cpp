#include "interchange/repeat_mapping.h"

#include <array>
#include <string_view>
#include <vector>

#include "calendar/calendar.h"
#include "interchange/entry_fields.h"
#include "store/repeat_rules.h"

namespace vesk {
namespace {

constexpr std::array<std::string_view, 8> kDayCodes = {"",   "SU", "MO", "TU",
                                                       "WE", "TH", "FR", "SA"};
constexpr std::array<std::string_view, 6> kOrdinals = {"", "1st", "2nd", "3rd", "4th", "5th"};
constexpr int kLastPlainMonthDay = 28;  // every month has it

template <std::size_t N>
std::vector<int> Values(const short (&list)[N]) {
  std::vector<int> out;
  for (short v : list) {
    if (v == ICAL_RECURRENCE_ARRAY_MAX) break;
    out.push_back(v);
  }
  return out;
}

int WeekNumber(std::string_view nthweek) {
  for (std::size_t i = 1; i < kOrdinals.size(); ++i)
    if (kOrdinals[i] == nthweek) return static_cast<int>(i);
  return 0;
}

bool IsLastDayOfMonth(const FirstDate& d) { return d.day == DaysInMonth(d.year, d.month); }

SeriesRule DialogRule(int code, const FirstDate& first) {
  return {code, first.day, WeekOrdinal(first.day), EveryWeekdayText(first.weekday)};
}

std::optional<SeriesRule> MatchMonthly(const icalrecurrencetype& r, const FirstDate& first) {
  const std::vector<int> days = Values(r.by_day);
  const std::vector<int> monthDays = Values(r.by_month_day);
  const std::vector<int> setPos = Values(r.by_set_pos);
  if (!Values(r.by_month).empty()) return std::nullopt;
  if (days.empty()) {
    SeriesRule rule = DialogRule(kMonthlyOnDay, first);
    if (monthDays.empty() && setPos.empty() && first.day <= kLastPlainMonthDay) return rule;
    if (monthDays.size() == 1 && setPos.empty()) {
      if (monthDays[0] == first.day && first.day <= kLastPlainMonthDay) return rule;
      if (monthDays[0] == -1 && IsLastDayOfMonth(first)) {
        rule.nthday = 31;
        return rule;
      }
      return std::nullopt;
    }
    // 28..n with the last of them: the n-th, or the month's last day before it.
    if (setPos == std::vector<int>{-1} && monthDays.size() >= 2 && monthDays.size() <= 4) {
      for (std::size_t i = 0; i < monthDays.size(); ++i)
        if (monthDays[i] != kLastPlainMonthDay + static_cast<int>(i)) return std::nullopt;
      rule.nthday = monthDays.back();
      if (first.day != std::min(rule.nthday, DaysInMonth(first.year, first.month)))
        return std::nullopt;
      return rule;
    }
    return std::nullopt;
  }
  if (days.size() != 1 || !monthDays.empty()) return std::nullopt;
  const int weekday = icalrecurrencetype_day_day_of_week(static_cast<short>(days[0]));
  int week = icalrecurrencetype_day_position(static_cast<short>(days[0]));
  if (week == 0 && setPos.size() == 1)
    week = setPos[0];
  else if (!setPos.empty())
    return std::nullopt;
  // "Last" (a negative position) is not the calendar's fifth.
  if (week < 1 || week > 5 || weekday != first.weekday || WeekOrdinal(first.day) != kOrdinals[week])
    return std::nullopt;
  return SeriesRule{kMonthlyOnWeekday, first.day, std::string(kOrdinals[week]),
                    EveryWeekdayText(weekday)};
}

}  // namespace

std::optional<std::string> RuleText(const SeriesRule& rule) {
  switch (rule.code) {
    case kEveryDay:
      return "FREQ=DAILY";
    case kEveryWeek:
      return "FREQ=WEEKLY";
    case kEverySecondWeek:
      return "FREQ=WEEKLY;INTERVAL=2";
    case kMonthlyOnDay: {
      if (rule.nthday < 1 || rule.nthday > 31) return std::nullopt;
      if (rule.nthday <= kLastPlainMonthDay)
        return "FREQ=MONTHLY;BYMONTHDAY=" + std::to_string(rule.nthday);
      // A plain BYMONTHDAY=31 would skip the shorter months; the calendar
      // puts those occurrences on the month's last day.
      std::string days;
      for (int d = kLastPlainMonthDay; d <= rule.nthday; ++d)
        days += (days.empty() ? "" : ",") + std::to_string(d);
      return "FREQ=MONTHLY;BYMONTHDAY=" + days + ";BYSETPOS=-1";
    }
    case kMonthlyOnWeekday: {
      const int week = WeekNumber(rule.nthweek);
      if (week == 0) return std::nullopt;
      return "FREQ=MONTHLY;BYDAY=" + std::to_string(week) +
             std::string(kDayCodes[WeekdayFromText(rule.sday)]);
    }
    case kEveryYear:
      return "FREQ=YEARLY";
    default:
      return std::nullopt;
  }
}

std::optional<SeriesRule> MatchRule(const icalrecurrencetype& r, const FirstDate& first) {
  if (!Values(r.by_second).empty() || !Values(r.by_minute).empty() || !Values(r.by_hour).empty() ||
      !Values(r.by_year_day).empty() || !Values(r.by_week_no).empty() || r.rscale != nullptr)
    return std::nullopt;
  const int interval = r.interval < 1 ? 1 : r.interval;
  const std::vector<int> days = Values(r.by_day);
  const bool noDayLists = Values(r.by_month_day).empty() && Values(r.by_set_pos).empty();
  switch (r.freq) {
    case ICAL_DAILY_RECURRENCE:
      if (interval != 1 || !days.empty() || !noDayLists || !Values(r.by_month).empty()) break;
      return DialogRule(kEveryDay, first);
    case ICAL_WEEKLY_RECURRENCE: {
      if (interval > 2 || !noDayLists || !Values(r.by_month).empty()) break;
      if (!days.empty() && days != std::vector<int>{first.weekday}) break;
      return DialogRule(interval == 1 ? kEveryWeek : kEverySecondWeek, first);
    }
    case ICAL_MONTHLY_RECURRENCE:
      if (interval != 1) break;
      return MatchMonthly(r, first);
    case ICAL_YEARLY_RECURRENCE: {
      const std::vector<int> months = Values(r.by_month);
      const std::vector<int> monthDays = Values(r.by_month_day);
      // The calendar moves 29 February to 1 March in other years; the rule skips them.
      if (interval != 1 || !days.empty() || !Values(r.by_set_pos).empty() ||
          (first.month == 2 && first.day == 29))
        break;
      if (!months.empty() && months != std::vector<int>{first.month}) break;
      if (!monthDays.empty() && monthDays != std::vector<int>{first.day}) break;
      return DialogRule(kEveryYear, first);
    }
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace vesk
