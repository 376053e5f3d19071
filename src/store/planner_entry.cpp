#include "store/planner_entry.h"

#include "store/app_context.h"
#include "store/entry_list.h"
#include "store/hooks.h"
#include "store/repeat_rules.h"

namespace vesk {

void CPlannerEntry::SetDate(int year, int month, int day) {
  list_.Unindex(*this);
  year_ = year;
  month_ = month;
  day_ = day;
  list_.Index(*this);
}

void CPlannerEntry::SetTimeOfDay(int hour, int minute) {
  list_.Unindex(*this);
  hour_ = hour;
  minute_ = minute;
  list_.Index(*this);
}

void CPlannerEntry::MoveToSlot(int year, int month, int day, int hour, int minute) {
  list_.Unindex(*this);
  year_ = year;
  month_ = month;
  day_ = day;
  hour_ = hour;
  minute_ = minute;
  list_.Index(*this);
}

void CPlannerEntry::SetTime(LocalTime t) {
  if (t == time_) return;
  time_ = t;
  list_.MarkUnordered(*this);
}

void CPlannerEntry::SetSlot(int year, int month, int day, int hour, int minute,
                            std::string_view text) {
  MoveToSlot(year, month, day, hour, minute);
  notes = text;
  list_.SortByTime();
}

void CPlannerEntry::SetRepeat(int code, std::string_view week, std::string_view weekday,
                              int dayOfMonth) {
  repeats = code;
  nthweek = week;
  sday = weekday;
  nthday = dayOfMonth;
  list_.SortByTime();
}

void CPlannerEntry::UpdateNotes(std::string_view text) {
  notes = text;
  AppContext& ctx = list_.context();
  if (ctx.store.WriteNotesOnly(*this)) return;
  // An entry without a key (an occurrence beyond the horizon) would lose the
  // edit at the next start if only "notes" were written, so it is stored
  // whole, and with it the occurrences of its series before it: the next
  // start continues the series from the latest stored one.
  Registry::Transaction tx(ctx.registry);
  if (repeats != 0) StoreSeriesBefore(*this);
  ctx.store.SaveEntry(*this);
  stored_ = true;
}

void CPlannerEntry::Schedule(bool save) {
  SetTime(MakeLocalTime(year_, month_, day_, hour_, minute_));
  if (started == 0) started = time_;
  AppContext& ctx = list_.context();
  if (save) {
    ctx.store.SaveEntry(*this);
    stored_ = true;
  }
  if (ctx.armer) ctx.armer->ArmReminder(*this);
}

bool CPlannerEntry::IsContinued() const {
  auto at = notes.find("continued");
  return at != std::string::npos && at >= 2;
}

}  // namespace vesk
