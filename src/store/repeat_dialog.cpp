#include "store/repeat_dialog.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <tuple>
#include <utility>

#include "calendar/calendar.h"
#include "platform/ui.h"
#include "res/command_ids.h"
#include "res/planner_dialogs.h"
#include "store/app_context.h"

namespace vesk {
namespace {

// The rule buttons in the order of their repeat codes.
constexpr std::array<int, 7> kRuleButtons = {
    res::kIdRepeatNone,       res::kIdRepeatDaily,    res::kIdRepeatWeekly,
    res::kIdRepeatSecondWeek, res::kIdRepeatMonthDay, res::kIdRepeatMonthWeekday,
    res::kIdRepeatYearly,
};

// How far a rule button moves the until date from the entry's own date.
struct UntilMove {
  int buttonId;
  int days;
  int years;
};
constexpr std::array<UntilMove, 6> kUntilMoves = {{
    {res::kIdRepeatDaily, 14, 0},
    {res::kIdRepeatWeekly, 0, 1},
    {res::kIdRepeatSecondWeek, 0, 1},
    {res::kIdRepeatMonthDay, 0, 2},
    {res::kIdRepeatMonthWeekday, 0, 2},
    {res::kIdRepeatYearly, 0, 5},
}};

bool InPickerYears(int year) { return kFirstPickerYear <= year && year <= kLastPickerYear; }

// The date normalised as the C library does (29 February 2001 is 1 March),
// kept within the years the date picker offers so that the dialog never shows
// a date it would then refuse. The time of day stays.
DateTime PickerDate(int year, int month, int day, int hour, int minute) {
  auto clamp = [&] {
    if (year < kFirstPickerYear) std::tie(year, month, day) = std::tuple(kFirstPickerYear, 1, 1);
    if (year > kLastPickerYear) std::tie(year, month, day) = std::tuple(kLastPickerYear, 12, 31);
  };
  clamp();
  DateTime d = BreakLocalTime(MakeLocalTime(year, month, day, hour, minute));
  if (!InPickerYears(d.year)) {
    year = d.year;
    clamp();
    d = BreakLocalTime(MakeLocalTime(year, month, day, hour, minute));
  }
  return d;
}

}  // namespace

CRepeatDlg::CRepeatDlg(AppContext& ctx)
    : Dialog((assert(ctx.ui != nullptr), *ctx.ui), res::RepeatDialogTemplate()), ctx_(ctx) {}

void CRepeatDlg::Prepare(int year, int month, int day, int hour, int minute, LocalTime until,
                         std::string text) {
  year_ = year;
  month_ = month;
  day_ = day;
  hour_ = hour;
  minute_ = minute;
  until_ = until;
  text_ = std::move(text);
  result_ = {};
}

void CRepeatDlg::SetRule(int repeats) {
  rule_ = repeats >= 0 && repeats < static_cast<int>(kRuleButtons.size()) ? repeats : -1;
}

std::string CRepeatDlg::Title(int year, int month, int day, std::string_view text) {
  return std::string(WeekdayAbbrev(WeekdayOf(year, month, day) - 1)) + ", " +
         std::string(MonthShortName(month).value_or("")) + " " + std::to_string(day) + ": " +
         std::string(text);
}

bool CRepeatDlg::OnInitDialog() {
  for (std::size_t code = 0; code < kRuleButtons.size(); ++code) {
    controls().SetText(kRuleButtons[code],
                       RepeatButtonText(static_cast<int>(code), year_, month_, day_));
  }
  controls().SetTitle(Title(year_, month_, day_, text_));
  controls().SetIcon(res::kIconPlanner);
  untilChosen_ = until_ != 0;
  if (untilChosen_) {
    const DateTime until = BreakLocalTime(until_);
    untilShown_ = PickerDate(until.year, until.month, until.day, until.hour, until.minute);
  } else {
    untilShown_ = PickerDate(year_, month_, day_, hour_, minute_);
  }
  return Dialog::OnInitDialog();
}

void CRepeatDlg::DoDataExchange(DataExchange& dx) {
  dx.Radio(res::kIdRepeatNone, rule_);
  dx.Date(res::kIdRepeatUntil, untilShown_);
}

DateTime CRepeatDlg::SuggestedUntil(int ruleId) const {
  for (const UntilMove& move : kUntilMoves) {
    if (move.buttonId == ruleId) {
      // Whole days and years on the calendar, so that a daylight-saving change
      // in between leaves the time of day alone.
      return PickerDate(year_ + move.years, month_, day_ + move.days, hour_, minute_);
    }
  }
  return untilShown_;
}

void CRepeatDlg::ShowUntil(const DateTime& value) {
  untilShown_ = value;
  controls().SetDateTime(res::kIdRepeatUntil, value);
}

void CRepeatDlg::OnCommand(int id, int code) {
  if (id == res::kIdRepeatHelp) {
    ui().ShowHelp(res::kHelpRepeat);
    return;
  }
  if (id != res::kIdRepeatNone &&
      std::find(kRuleButtons.begin(), kRuleButtons.end(), id) != kRuleButtons.end()) {
    if (!untilChosen_) ShowUntil(SuggestedUntil(id));
    return;
  }
  Dialog::OnCommand(id, code);
}

void CRepeatDlg::OnDateTimeChange(int id) {
  if (id == res::kIdRepeatUntil) untilChosen_ = true;
}

void CRepeatDlg::OnOK() {
  // A date the picker cannot give, or one past what the program's local time
  // holds, ends the dialog as if cancelled: the entry stays as it was.
  if (!UpdateData(true) || !InPickerYears(untilShown_.year)) {
    ctx_.messages.Show(kYearsMessage, MbButtons::Ok);
    EndDialog(kIdCancel);
    return;
  }
  result_.code = rule_ < 0 ? kNoRepeat : rule_;
  result_.until = MakeLocalTime(untilShown_.year, untilShown_.month, untilShown_.day,
                                untilShown_.hour, untilShown_.minute, untilShown_.second);
  result_.day = day_;
  result_.nthweek = WeekOrdinal(day_);
  result_.sday = RepeatButtonText(kEveryWeek, year_, month_, day_);
  EndDialog(kIdOk);
}

}  // namespace vesk
