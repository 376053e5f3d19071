// Deleting, merging and re-arming entries of the list.
#include <algorithm>
#include <optional>
#include <string>

#include "store/app_context.h"
#include "store/entry_list.h"
#include "store/repeat_rules.h"

namespace vesk {

namespace {

std::string TrimSpaces(std::string_view s) {
  auto first = s.find_first_not_of(" \t\r\n\v\f");
  if (first == std::string_view::npos) return {};
  auto last = s.find_last_not_of(" \t\r\n\v\f");
  return std::string(s.substr(first, last - first + 1));
}

}  // namespace

void CEntryList::RemoveEntryKey(CPlannerEntry& e) {
  if (e.timer != 0) ctx_.timers.KillTimer(e.timer);
  e.timer = 0;
  ctx_.store.RemoveEntryKey(e.year(), e.month(), e.day(), e.hour(), e.minute());
  e.repeats = 0;
}

void CEntryList::DeleteEntry(CPlannerEntry& entry, bool askRepeats, int* counter) {
  // Opened at the first write and committed before a question: while the
  // question is on screen other writes (a window move, a reminder) must not
  // wait for the answer.
  std::optional<Registry::Transaction> tx;
  CPlannerEntry* current = &entry;
  while (current) {
    LocalTime t = current->time();
    if (askRepeats && current->repeats != 0) {
      tx.reset();
      DeleteRepeats(*current);
    }
    if (!tx) tx.emplace(ctx_.registry);
    if (current->month() != 0) RemoveEntryKey(*current);
    Remove(*current);
    if (counter) ++*counter;
    SortByTime();
    CPlannerEntry* next = FindAfter(t);
    bool continues = next && next->IsContinued() && (next->repeats == 0 || askRepeats);
    current = continues ? next : nullptr;
  }
}

void CEntryList::DeleteRepeats(CPlannerEntry& entry) {
  std::string question = "You have deleted a datebook entry which repeats.\n Delete the other \"" +
                         entry.notes + "\" repeating entries in this time slot as well?";
  if (ctx_.messages.Show(question, MbButtons::YesNo) != MbResult::Yes) return;
  // The series' other occurrences lie between its first one and its until
  // time, or the horizon of the run that made them; those months are read.
  const LocalTime now = static_cast<LocalTime>(ctx_.clock.Now());
  EnsureDays(std::min(entry.started != 0 ? entry.started : entry.time(), entry.time()),
             std::max({entry.until, entry.time(), now + kYearlyHorizonSeconds}));
  const std::string text = entry.notes;
  Registry::Transaction tx(ctx_.registry);
  for (CPlannerEntry* e : Entries()) {
    if (e == &entry || e->repeats != entry.repeats || e->hour() != entry.hour() ||
        e->minute() != entry.minute())
      continue;
    if (e->notes == text) {
      RemoveEntryKey(*e);
      Remove(*e);
    } else if (!text.empty()) {
      // An empty text is contained in every text; only identical ones go.
      auto at = e->notes.find(text);
      if (at == std::string::npos) continue;
      std::string rest = e->notes;
      rest.erase(at, text.size());
      e->notes = TrimSpaces(rest);
      e->repeats = 0;
      ctx_.store.SaveEntry(*e);
    }
  }
  SortByTime();
}

void CEntryList::DeleteDay(int year, int month, int day) {
  Registry::Transaction tx(ctx_.registry);
  for (CPlannerEntry* e : EntriesOn(year, month, day)) {
    RemoveEntryKey(*e);
    Remove(*e);
  }
  SortByTime();
}

void CEntryList::MergeOnto(CPlannerEntry& generated) {
  CPlannerEntry* p = FindAt(generated.year(), generated.month(), generated.day(), generated.hour(),
                            generated.minute(), &generated);
  if (!p) return;
  if (p->notes.find(generated.notes) == std::string::npos)
    generated.notes = generated.notes + " " + p->notes;
  // Only the entry itself is folded in: "(continued)" lines after it hold
  // what the user typed and stay.
  Registry::Transaction tx(ctx_.registry);
  if (p->month() != 0) RemoveEntryKey(*p);
  Remove(*p);
  SortByTime();
}

void CEntryList::RearmTimers(bool armed) {
  EnsureDueSoon();
  for (CPlannerEntry* e : Entries())
    if ((e->timer != 0) == armed) e->Schedule(false);
}

}  // namespace vesk
