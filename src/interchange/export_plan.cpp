#include "interchange/export_plan.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <unordered_map>

#include "calendar/calendar.h"
#include "store/repeat_rules.h"

namespace vesk {
namespace {

// No rule is walked further than this many occurrences.
constexpr int kMaxRuleSteps = 20000;

struct Line {
  std::vector<ExportOccurrence> occurrences;  // in time order
  bool series = false;
  bool runsOn = false;  // a series with occurrences in memory beyond the horizon
  int continued = 0;    // a series: the continuation series folded into it
  bool folded = false;  // a continuation of another line
  const ExportEntry& first() const { return *occurrences.front().entry; }
};

struct SlotHash {
  std::size_t operator()(const Slot& s) const {
    return std::hash<long long>()(
        ((((static_cast<long long>(s.year) * 13 + s.month) * 32 + s.day) * 24 + s.hour) * 60) +
        s.minute);
  }
};

SeriesRule RuleOf(const EntryFields& f) { return {f.repeats, f.nthday, f.nthweek, f.sday}; }

bool SameModel(const EntryFields& a, const EntryFields& b) {
  return a.repeats == b.repeats && a.nthday == b.nthday && a.nthweek == b.nthweek &&
         a.sday == b.sday;
}

XFields Diff(const EntryFields& actual, const EntryFields& derived) {
  XFields x;
  if (actual.repeats != derived.repeats) x.repeats = actual.repeats;
  if (actual.nthday != derived.nthday) x.nthday = actual.nthday;
  if (actual.nthweek != derived.nthweek) x.nthweek = actual.nthweek;
  if (actual.sday != derived.sday) x.sday = actual.sday;
  return x;
}

void Overlay(EntryFields& f, const XFields& x) {
  if (x.repeats) f.repeats = *x.repeats;
  if (x.nthday) f.nthday = *x.nthday;
  if (x.nthweek) f.nthweek = *x.nthweek;
  if (x.sday) f.sday = *x.sday;
}

FirstDate DateOf(const Slot& s) {
  return {s.year, s.month, s.day, WeekdayOf(s.year, s.month, s.day)};
}

// The calendar's rule the written RRULE reads back as, from this first date.
std::optional<SeriesRule> ReadBack(const std::string& ruleText, const Slot& first) {
  const icalrecurrencetype r = icalrecurrencetype_from_string(ruleText.c_str());
  if (r.freq == ICAL_NO_RECURRENCE) return std::nullopt;
  return MatchRule(r, DateOf(first));
}

// The slots of the rule's occurrences from first up to last, walked by libical.
std::set<Slot> RuleSlots(const std::string& ruleText, const Slot& first, LocalTime last) {
  std::set<Slot> slots;
  const icalrecurrencetype r = icalrecurrencetype_from_string(ruleText.c_str());
  icaltimetype start = icaltime_null_time();
  start.year = first.year;
  start.month = first.month;
  start.day = first.day;
  start.hour = first.hour;
  start.minute = first.minute;
  icalrecur_iterator* it = icalrecur_iterator_new(r, start);
  if (!it) return slots;
  for (int n = 0; n < kMaxRuleSteps; ++n) {
    const icaltimetype t = icalrecur_iterator_next(it);
    if (icaltime_is_null_time(t)) break;
    const Slot s{t.year, t.month, t.day, t.hour, t.minute};
    if (s.Time() > last) break;
    slots.insert(s);
  }
  icalrecur_iterator_free(it);
  return slots;
}

class Planner {
 public:
  Planner(const std::vector<ExportEntry>& entries, LocalTime now) : entries_(entries), now_(now) {}

  std::vector<ExportEvent> Run() {
    MakeLines();
    FoldSeries();
    FoldOneOffs();
    return Events();
  }

 private:
  void MakeLines() {
    using Key = std::tuple<LocalTime, int, int, int>;
    std::map<Key, std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      const EntryFields& f = entries_[i].fields;
      if (f.repeats >= kEveryDay && f.repeats <= kEveryYear)
        groups[{entries_[i].started, f.repeats, f.slot.hour, f.slot.minute}].push_back(i);
    }
    std::vector<int> lineOf(entries_.size(), -1);
    for (auto& [key, members] : groups) {
      Line line;
      line.series = true;
      for (std::size_t i : members) {
        lineOf[i] = -2;
        if (entries_[i].stored)
          line.occurrences.push_back({&entries_[i], 0});
        else
          line.runsOn = true;
      }
      // Nothing of a series in memory only is kept at the next start.
      if (line.occurrences.empty()) continue;
      const ExportEntry& first = line.first();
      // A series that ends before its second occurrence repeats nothing.
      if (first.until < first.fields.slot.Time() || !RuleText(RuleOf(first.fields))) {
        for (std::size_t i : members) lineOf[i] = entries_[i].stored ? -1 : -2;
        continue;
      }
      for (std::size_t i : members) lineOf[i] = static_cast<int>(lines_.size());
      lines_.push_back(std::move(line));
    }
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (lineOf[i] != -1) continue;
      lineOf[i] = static_cast<int>(lines_.size());
      lines_.push_back({{{&entries_[i], 0}}});
    }
    // Events are written in the order of their first occurrence.
    std::stable_sort(lines_.begin(), lines_.end(), [](const Line& a, const Line& b) {
      return a.first().fields.slot < b.first().fields.slot;
    });
  }

  static bool ContinuesAs(const ExportEntry& c, const ExportEntry& head, const std::string& text) {
    return c.continued && c.fields.notes == text && !c.fields.dayEarly &&
           SameModel(c.fields, head.fields) && (!c.ownUid || c.uid == head.uid);
  }

  // A continuation series made by the day planner's ditto mark (or by an
  // import) follows every occurrence of its series on the same date.
  bool FoldsInto(const Line& s, const Line& c, int k) const {
    if (c.folded || !c.series || c.first().until != s.first().until + k * kLineSeconds)
      return false;
    const std::size_t count = Stored(s);
    if (Stored(c) != count) return false;
    const std::string text = ContinuedText(s.first().fields.notes);
    for (std::size_t i = 0; i < count; ++i) {
      const ExportEntry& e = *c.occurrences[i].entry;
      // No occurrence of a continuation line reminds.
      if (e.fields.slot != s.occurrences[i].entry->fields.slot.Later(k) || e.fields.lead != -1 ||
          !ContinuesAs(e, s.first(), text))
        return false;
    }
    return true;
  }

  // The occurrences of a series within the horizon: those the store holds.
  std::size_t Stored(const Line& l) const {
    const LocalTime horizon = Horizon(l.first().fields.repeats);
    std::size_t n = 0;
    while (n < l.occurrences.size() && l.occurrences[n].entry->fields.slot.Time() < horizon) ++n;
    return std::max<std::size_t>(n, 1);
  }

  LocalTime Horizon(int code) const { return ImportHorizon(now_, code == kEveryYear); }

  void FoldSeries() {
    std::unordered_map<Slot, std::size_t, SlotHash> byFirst;
    for (std::size_t i = 0; i < lines_.size(); ++i)
      if (lines_[i].series) byFirst.emplace(lines_[i].first().fields.slot, i);
    for (Line& s : lines_) {
      if (!s.series || s.folded) continue;
      for (int k = 1;; ++k) {
        const Slot next = s.first().fields.slot.Later(k);
        auto it = byFirst.find(next);
        if (next.hour > 23 || it == byFirst.end() || !FoldsInto(s, lines_[it->second], k)) break;
        lines_[it->second].folded = true;
        s.continued = k;
      }
      for (ExportOccurrence& o : s.occurrences) o.continued = s.continued;
    }
  }

  void FoldOneOffs() {
    std::unordered_map<Slot, std::size_t, SlotHash> bySlot;
    for (std::size_t i = 0; i < lines_.size(); ++i)
      if (!lines_[i].series) bySlot.emplace(lines_[i].first().fields.slot, i);
    for (Line& h : lines_) {
      if (h.series || h.folded) continue;
      const ExportEntry& head = h.first();
      const std::string text = ContinuedText(head.fields.notes);
      for (int k = 1;; ++k) {
        const Slot next = head.fields.slot.Later(k);
        auto it = bySlot.find(next);
        if (next.hour > 23 || it == bySlot.end()) break;
        Line& c = lines_[it->second];
        if (c.folded || c.first().fields.lead != -1 || !ContinuesAs(c.first(), head, text)) break;
        c.folded = true;
        h.occurrences.front().continued = k;
      }
    }
  }

  std::vector<ExportEvent> Events() {
    struct Group {
      std::string uid;
      std::vector<const Line*> lines;
      bool series = false;
    };
    std::vector<Group> groups;
    std::unordered_map<std::string, std::size_t> byUid;
    for (const Line& l : lines_) {
      if (l.folded) continue;
      std::string uid = l.first().uid;
      auto it = byUid.find(uid);
      // One VEVENT holds one rule: another series of the UID is an event of its own.
      if (it != byUid.end() && l.series && groups[it->second].series) {
        int n = 2;
        while (byUid.count(uid + "-" + std::to_string(n))) ++n;
        uid += "-" + std::to_string(n);
        it = byUid.end();
      }
      if (it == byUid.end()) {
        it = byUid.emplace(uid, groups.size()).first;
        groups.push_back({uid, {}, false});
      }
      Group& g = groups[it->second];
      g.lines.push_back(&l);
      g.series = g.series || l.series;
    }
    std::vector<ExportEvent> events;
    events.reserve(groups.size());
    for (const Group& g : groups) events.push_back(MakeEvent(g.uid, g.lines));
    return events;
  }

  ExportEvent MakeEvent(const std::string& uid, const std::vector<const Line*>& group) {
    const Line* master = group.front();
    for (const Line* l : group)
      if (l->series) master = l;
    ExportEvent ev;
    ev.uid = uid;
    ev.first = master->occurrences.front();
    ev.model = master->first().fields;
    std::vector<ExportOccurrence> extra;
    EntryFields derived;  // the calendar's fields an occurrence of the rule gets
    if (master->series) {
      const SeriesRule rule = RuleOf(ev.model);
      const std::string text = *RuleText(rule);
      if (auto back = ReadBack(text, ev.model.slot)) {
        ev.rule = rule;
        ev.until = master->first().until;
        derived = ev.model;
        derived.repeats = back->code;
        derived.nthday = back->nthday;
        derived.nthweek = back->nthweek;
        derived.sday = back->sday;
        ev.x = Diff(ev.model, derived);
        PlaceOnRule(ev, *master, text, extra);
      }
    }
    if (!ev.rule) {
      ev.x = Diff(ev.model, EntryFields{});
      for (std::size_t i = 1; i < master->occurrences.size(); ++i)
        extra.push_back(master->occurrences[i]);
    }
    for (const Line* l : group)
      if (l != master) extra.insert(extra.end(), l->occurrences.begin(), l->occurrences.end());
    std::sort(extra.begin(), extra.end(), [](const ExportOccurrence& a, const ExportOccurrence& b) {
      return a.entry->fields.slot < b.entry->fields.slot;
    });
    // An occurrence besides the rule is made as a one-off entry with the
    // event's own fields; it says where it differs.
    EntryFields oneOff;
    Overlay(oneOff, ev.x);
    for (const ExportOccurrence& o : extra) {
      ev.extra.push_back(o);
      AddVersionIfDifferent(ev, o, oneOff, true);
    }
    return ev;
  }

  // Sorts the series' occurrences into the rule's, those it lacks (EXDATE)
  // and those besides it, and notes the ones that differ from the event.
  void PlaceOnRule(ExportEvent& ev, const Line& master, const std::string& ruleText,
                   std::vector<ExportOccurrence>& extra) {
    const LocalTime horizon = Horizon(ev.rule->code);
    // Up to its end the calendar made every occurrence in its store, so a
    // missing one was deleted or absorbed by another entry. A series running
    // past the horizon is complete up to it only in the running calendar,
    // which holds the later ones in memory; the store alone holds them up to
    // its last expansion.
    LocalTime stored = ev.model.slot.Time();
    for (const ExportOccurrence& o : master.occurrences)
      stored = std::max(stored, o.entry->fields.slot.Time());
    const LocalTime window = ev.until < horizon ? ev.until : master.runsOn ? horizon - 1 : stored;
    const std::set<Slot> rule = RuleSlots(ruleText, ev.model.slot, window);
    std::set<Slot> present;
    for (std::size_t i = 1; i < master.occurrences.size(); ++i) {
      const ExportOccurrence& o = master.occurrences[i];
      if (o.entry->fields.slot.Time() >= horizon) continue;
      if (!rule.count(o.entry->fields.slot)) {
        extra.push_back(o);
        continue;
      }
      present.insert(o.entry->fields.slot);
      AddVersionIfDifferent(ev, o, ev.model, false);
    }
    for (const Slot& s : rule)
      if (s != ev.model.slot && !present.count(s)) ev.excluded.push_back(s);
  }

  // An extra date of a series comes back as an entry of its own, which
  // keeps the series' until only when the file states it.
  static void AddVersionIfDifferent(ExportEvent& ev, const ExportOccurrence& o,
                                    const EntryFields& model, bool extra) {
    const EntryFields& f = o.entry->fields;
    const bool untilToKeep = extra && f.repeats != 0 && o.entry->until != 0;
    if (f.notes == ev.model.notes && f.lead == ev.model.lead && f.dayEarly == ev.model.dayEarly &&
        SameModel(f, model) && o.continued == ev.first.continued && !untilToKeep)
      return;
    ev.versions.push_back(o);
    ev.versionX.push_back(Diff(f, model));
    if (untilToKeep) ev.versionX.back().until = o.entry->until;
  }

  const std::vector<ExportEntry>& entries_;
  LocalTime now_;
  std::vector<Line> lines_;
};

}  // namespace

std::vector<ExportEvent> PlanExport(const std::vector<ExportEntry>& entries, LocalTime now) {
  return Planner(entries, now).Run();
}

}  // namespace vesk
