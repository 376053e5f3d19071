#include "interchange/ics_import.h"

#include <unordered_map>

#include "interchange/entry_reload.h"
#include "interchange/uids.h"
#include "store/app_context.h"
#include "store/repeat_rules.h"

namespace vesk {
namespace {

class Importer {
 public:
  Importer(AppContext& ctx, IcsImportCounts& counts) : ctx_(ctx), c_(counts) {}

  // Removes what earlier imports of these events made.
  void RemoveEarlier(const ImportPlan& plan) {
    if (ctx_.entries.size() == 0 && ctx_.store.StoredMonths().empty()) return;
    std::unordered_map<std::string, bool> wanted;
    for (const PlannedEvent& e : plan.events) wanted.emplace(e.uid, false);
    const std::string calendar = CalendarId(ctx_.store);
    // Their lines, found month by month: a month is let go after its visit.
    std::vector<Slot> gone;
    ctx_.entries.VisitAllMonths([&](const CPlannerEntry& e) {
      auto it = wanted.find(UidOf(e, calendar));
      if (it == wanted.end()) return;
      it->second = true;
      gone.push_back(SlotOf(e));
    });
    for (const auto& [uid, found] : wanted) c_.replaced += found ? 1 : 0;
    for (const Slot& s : gone) {
      CPlannerEntry* e = ctx_.entries.FindAt(s.year, s.month, s.day, s.hour, s.minute);
      if (e && wanted.count(UidOf(*e, calendar))) RemoveWithContinuation(e->serial(), calendar);
    }
  }

  void Make(const PlannedEvent& event) {
    if (event.series) MakeSeries(*event.series, event.uid);
    for (const PlannedLine& line : event.lines) MakeLine(line, event.uid);
  }

 private:
  void Remove(CPlannerEntry& e) {
    if (e.timer != 0) ctx_.timers.KillTimer(e.timer);
    ctx_.store.RemoveEntryKey(e.year(), e.month(), e.day(), e.hour(), e.minute());
    ctx_.entries.Discard(e);
  }

  // An entry and the "(continued)" lines after it on its date.
  void RemoveWithContinuation(std::uint64_t serial, const std::string& calendar) {
    CPlannerEntry* e = ctx_.entries.FindBySerial(serial);
    if (!e) return;
    const Slot slot = SlotOf(*e);
    const std::string uid = UidOf(*e, calendar);
    Remove(*e);
    for (int k = 1;; ++k) {
      const Slot next = slot.Later(k);
      if (next.hour > 23) break;
      CPlannerEntry* c =
          ctx_.entries.FindAt(next.year, next.month, next.day, next.hour, next.minute);
      if (!c || !c->IsContinued() || (!c->uid.empty() && c->uid != uid)) break;
      Remove(*c);
    }
  }

  // A new entry at the slot, or none when the slot's entry took the text.
  CPlannerEntry* Place(const EntryFields& f, const std::string& uid) {
    const Slot& s = f.slot;
    CPlannerEntry* at = ctx_.entries.FindAt(s.year, s.month, s.day, s.hour, s.minute);
    // An occurrence beyond the horizon lives in memory only: it gives way, and
    // merges with the entry once a later start makes it within the horizon.
    if (at && at->repeats != 0 && !at->stored()) {
      if (at->timer != 0) ctx_.timers.KillTimer(at->timer);
      ctx_.entries.Discard(*at);
      at = nullptr;
    }
    if (at) {
      if (at->notes.find(f.notes) == std::string::npos) {
        at->UpdateNotes(at->notes + ' ' + f.notes);
        ++c_.merged;
      } else {
        ++c_.alreadyThere;
      }
      return nullptr;
    }
    CPlannerEntry& e = ctx_.entries.Create();
    e.SetDate(s.year, s.month, s.day);
    e.SetTimeOfDay(s.hour, s.minute);
    ApplyFields(e, f);
    e.uid = uid;
    return &e;
  }

  // The fields of the k-th line continuing head, as the day planner makes it.
  static EntryFields Continuation(const EntryFields& head, int k) {
    EntryFields f = head;
    f.slot = head.slot.Later(k);
    f.notes = ContinuedText(head.notes);
    f.dayEarly = false;
    return f;
  }

  // An early of -1 (no reminder) passes to the copies of a series, so no
  // occurrence of a continued line reminds; only the event's start does.
  static void AsContinuation(CPlannerEntry& e, LocalTime headUntil, int k) {
    e.reminder = 0;
    e.early = -1;
    e.until = headUntil + k * kLineSeconds;
  }

  void MakeLine(const PlannedLine& line, const std::string& uid) {
    if (CPlannerEntry* e = Place(line.fields, uid)) {
      if (line.until) e->until = *line.until;
      e->Schedule(true);
    }
    for (int k = 1; k <= line.continued; ++k) {
      if (CPlannerEntry* e = Place(Continuation(line.fields, k), uid)) {
        AsContinuation(*e, line.until.value_or(0), k);
        e->Schedule(true);
      }
    }
  }

  // An occurrence taking a line that holds an entry takes its text after its
  // own, as a generated occurrence does; a text that holds the occurrence's
  // already is kept whole, and the lines continuing the entry stay.
  void Absorb(CPlannerEntry& occurrence) {
    CPlannerEntry* p = ctx_.entries.FindAt(occurrence.year(), occurrence.month(), occurrence.day(),
                                           occurrence.hour(), occurrence.minute(), &occurrence);
    if (!p) return;
    if (p->notes.find(occurrence.notes) == std::string::npos) {
      occurrence.notes += ' ';
      occurrence.notes += p->notes;
      ++c_.merged;
    } else {
      occurrence.notes = p->notes;
      ++c_.alreadyThere;
    }
    // Remove leaves the list unsorted; it is sorted once the import is made.
    Remove(*p);
  }

  // One series: its first entry, its occurrences up to the horizon, then the
  // ones beyond it that the calendar holds in memory, as for a series it made.
  void MakeRun(CPlannerEntry& head, const std::vector<Occurrence>& occurrences) {
    const LocalTime horizon = RepeatHorizon(head, static_cast<LocalTime>(ctx_.clock.Now()));
    const auto storable = [&](LocalTime t) { return t < horizon && t <= head.until; };
    Absorb(head);
    head.Schedule(true);
    Slot last = SlotOf(head);
    for (const Occurrence& o : occurrences) {
      const Slot& s = o.slot;
      if (!storable(s.Time())) break;
      last = s;
      if (o.skipped) continue;
      CPlannerEntry& e = ctx_.entries.CreateCopy(head);
      e.SetDate(s.year, s.month, s.day);
      Absorb(e);
      e.Schedule(true);
    }
    // A copy of the first entry on the last date continues the series, so an
    // occurrence with a text of its own does not pass it on.
    CPlannerEntry& tail = ctx_.entries.CreateCopy(head);
    tail.SetDate(last.year, last.month, last.day);
    tail.SetTime(last.Time());
    ExpandSeries(tail);
    ctx_.entries.Discard(tail);
  }

  void MakeSeries(const PlannedSeries& s, const std::string& uid) {
    const EntryFields& first = s.first.fields;
    CPlannerEntry& head = ctx_.entries.Create();
    head.SetDate(first.slot.year, first.slot.month, first.slot.day);
    head.SetTimeOfDay(first.slot.hour, first.slot.minute);
    ApplyFields(head, first);
    head.until = s.until;
    head.uid = uid;
    MakeRun(head, s.occurrences);
    for (int k = 1; k <= s.first.continued; ++k) {
      const EntryFields f = Continuation(first, k);
      CPlannerEntry& line = ctx_.entries.Create();
      line.SetDate(f.slot.year, f.slot.month, f.slot.day);
      line.SetTimeOfDay(f.slot.hour, f.slot.minute);
      ApplyFields(line, f);
      AsContinuation(line, s.until, k);
      line.uid = uid;
      std::vector<Occurrence> lines;
      for (const Occurrence& o : s.occurrences) lines.push_back({o.slot.Later(k), o.skipped});
      MakeRun(line, lines);
    }
    for (const PlannedLine& changed : s.changed) Change(changed, s.first.continued, uid);
  }

  // An occurrence with a text, reminder or length of its own.
  void Change(const PlannedLine& line, int seriesContinued, const std::string& uid) {
    const Slot& s = line.fields.slot;
    CPlannerEntry* e = ctx_.entries.FindAt(s.year, s.month, s.day, s.hour, s.minute);
    if (!e || e->uid != uid) return;
    ApplyFields(*e, line.fields);
    e->Schedule(true);
    for (int k = line.continued + 1; k <= seriesContinued; ++k) {
      const Slot c = s.Later(k);
      if (CPlannerEntry* gone = ctx_.entries.FindAt(c.year, c.month, c.day, c.hour, c.minute))
        if (gone->uid == uid) Remove(*gone);
    }
    for (int k = seriesContinued + 1; k <= line.continued; ++k) {
      EntryFields f = Continuation(line.fields, k);
      f.repeats = 0;
      if (CPlannerEntry* made = Place(f, uid)) {
        AsContinuation(*made, 0, k);
        made->Schedule(true);
      }
    }
  }

  AppContext& ctx_;
  IcsImportCounts& c_;
};

}  // namespace

ImportResult ApplyImport(AppContext& ctx, ImportPlan plan) {
  ImportResult result;
  result.counts = plan.counts;
  if (!plan.error.empty()) {
    result.report = plan.error;
    return result;
  }
  bool committed = false;
  {
    Registry::Transaction tx(ctx.registry);
    Importer importer(ctx, result.counts);
    importer.RemoveEarlier(plan);
    for (PlannedEvent& event : plan.events) {
      importer.Make(event);
      event = {};
    }
    ctx.entries.SortByTime();
    committed = tx.Commit();
  }
  if (!committed) {
    // The store kept what it had; the entry list goes back to it.
    ReloadEntries(ctx);
    result.report = "the calendar store could not be written; nothing was imported";
    return result;
  }
  result.ok = true;
  result.report = ImportReportText(result.counts, plan.horizonDate);
  return result;
}

}  // namespace vesk
