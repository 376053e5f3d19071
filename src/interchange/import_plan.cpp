#include "interchange/import_plan.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <unordered_set>

#include "calendar/calendar.h"
#include "interchange/ics_event.h"
#include "interchange/ics_stream.h"
#include "interchange/ics_time.h"
#include "store/repeat_rules.h"

namespace vesk {
namespace {

constexpr std::int64_t kOneDay = 86400;
constexpr std::int64_t kDayBefore = -kOneDay;
// The until limits of the repeat dialog, from the series' start or today,
// whichever is later.
constexpr std::int64_t kLongDailySeconds = 15811200;  // 183 days
constexpr int kWeeklyMonthlyYears = 5;
constexpr int kYearlyYears = 20;
constexpr int kLastYear = 2036;

std::string DerivedUid(const EventRecord& e) {
  std::uint64_t h = 14695981039346656037ull;
  const std::string key = e.summary + "|" + std::to_string(e.start.t);
  for (unsigned char c : key) h = (h ^ c) * 1099511628211ull;
  char uid[48];
  std::snprintf(uid, sizeof uid, "veskcal-import-%016llx", static_cast<unsigned long long>(h));
  return uid;
}

std::string DateText(LocalTime t) {
  const DateTime d = BreakLocalTime(t);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
  return text;
}

// The calendar's fields of an entry made from the event, before the
// event's own X-VESKCAL fields.
struct Model {
  int repeats = 0;
  int nthday = 0;
  std::string nthweek;
  std::string sday;
  std::optional<LocalTime> until;
};

void ApplyX(const XFields& x, Model& m, bool series, int code) {
  if (x.repeats && !series) m.repeats = *x.repeats;
  if (x.until && !series) m.until = x.until;
  // Fields that drive a rule follow the rule, whatever the file says.
  if (x.nthday && !(series && code == kMonthlyOnDay)) m.nthday = *x.nthday;
  if (x.nthweek && !(series && code == kMonthlyOnWeekday)) m.nthweek = *x.nthweek;
  if (x.sday &&
      !(series && code == kMonthlyOnWeekday && WeekdayFromText(*x.sday) != WeekdayFromText(m.sday)))
    m.sday = *x.sday;
}

class Planner {
 public:
  Planner(IcsImportCounts& counts, std::size_t textLimit) : c_(counts), textLimit_(textLimit) {}

  // The line of one occurrence; count tells whether its changes are counted
  // (once per event).
  PlannedLine LineFor(const EventRecord& e, const Start& s, const Model& m, bool count) {
    IcsImportCounts scratch;
    IcsImportCounts& c = count ? c_ : scratch;
    PlannedLine line;
    EntryFields& f = line.fields;
    const DateTime& w = s.wall;
    f.slot = s.allDay
                 ? Slot{w.year, w.month, w.day, kAllDayHour, 0}
                 : Slot{w.year, w.month, w.day, w.hour, w.minute < kLineMinutes ? 0 : kLineMinutes};
    std::string prefix;
    if (!s.allDay && (w.minute % kLineMinutes != 0 || w.second != 0)) {
      prefix = TimePrefix(w.hour, w.minute);
      ++c.offHalfHour;
    }
    bool cut = false;
    f.notes = LineText(prefix + e.summary, cut, textLimit_);
    if (cut) ++c.textsCut;
    if (e.summary.find_first_of("\r\n") != std::string::npos) ++c.textsJoined;
    f.repeats = m.repeats;
    f.nthday = m.nthday;
    f.nthweek = m.nthweek;
    f.sday = m.sday;
    line.until = m.until;
    SetReminders(e, s, f, c);
    if (s.allDay) {
      ++c.allDay;
      if (e.days > 1) ++c.severalDays;
    } else {
      line.continued = ContinuedLines(s, e, f.slot, c);
    }
    return line;
  }

  IcsImportCounts& counts() { return c_; }

 private:
  void SetReminders(const EventRecord& e, const Start& s, EntryFields& f, IcsImportCounts& c) {
    std::optional<std::int64_t> lead;
    for (std::int64_t offset : e.alarms) {
      if (offset == kDayBefore && !f.dayEarly) {
        f.dayEarly = true;
      } else if (!lead) {
        // The reminder rings where the file's alarm does: minutes before the line.
        lead = (static_cast<std::int64_t>(f.slot.Time()) - (s.t + offset)) / 60;
      } else {
        ++c.alarmsDropped;
      }
    }
    c.alarmsDropped += e.otherAlarms;
    if (!lead && f.dayEarly) {
      lead = 0;
      ++c.dayBeforeOnly;
    }
    if (!lead) return;
    if (*lead < 0) {
      lead = 0;
      ++c.leadsLate;
    } else if (*lead > kMaxLeadMinutes) {
      lead = kMaxLeadMinutes;
      ++c.leadsCapped;
    }
    f.lead = static_cast<int>(*lead);
  }

  // The lines from the event's line to the one holding its end, at most to midnight.
  static int ContinuedLines(const Start& s, const EventRecord& e, const Slot& slot,
                            IcsImportCounts& c) {
    const std::int64_t duration = e.duration;
    if (duration <= 0) return 0;
    const int slotMinute = slot.hour * 60 + slot.minute;
    std::int64_t endMinute = 0;
    if (e.wallDuration) {
      endMinute = s.wall.hour * 60 + s.wall.minute + (s.wall.second + duration + 59) / 60;
    } else {
      const DateTime end = BreakLocalTime(static_cast<std::int64_t>(s.t) + duration);
      const bool sameDay =
          end.year == s.wall.year && end.month == s.wall.month && end.day == s.wall.day;
      const bool pastMidnight =
          end.hour != 0 || end.minute != 0 || end.second != 0 || duration > kOneDay;
      endMinute = sameDay ? end.hour * 60 + end.minute + (end.second > 0 ? 1 : 0)
                          : 24 * 60 + (pastMidnight ? 1 : 0);
    }
    if (endMinute > 24 * 60) ++c.cutAtMidnight;
    endMinute = std::min<std::int64_t>(endMinute, 24 * 60);
    const int lines =
        std::max(1, static_cast<int>((endMinute - slotMinute + kLineMinutes - 1) / kLineMinutes));
    if (lines > 1) ++c.continued;
    return lines - 1;
  }

  IcsImportCounts& c_;
  std::size_t textLimit_;
};

LocalTime CappedUntil(int code, LocalTime until, LocalTime first, LocalTime now, bool& capped) {
  const LocalTime base = std::max(first, now);
  const DateTime b = BreakLocalTime(base);
  auto yearsLater = [&](int year) {
    return MakeLocalTime(std::min(year, kLastYear), b.month, b.day, b.hour, b.minute);
  };
  LocalTime limit = std::numeric_limits<LocalTime>::max();
  switch (code) {
    case kEveryDay:
      if (static_cast<std::int64_t>(until) > base + kLongDailySeconds)
        limit = yearsLater(b.year + 1);
      break;
    case kEveryYear:
      if (BreakLocalTime(until).year > b.year + kYearlyYears)
        limit = yearsLater(b.year + kYearlyYears);
      break;
    default:
      if (BreakLocalTime(until).year > b.year + kWeeklyMonthlyYears)
        limit = yearsLater(b.year + kWeeklyMonthlyYears);
      break;
  }
  // Nothing the calendar holds lies beyond its last year.
  const LocalTime capped_until = std::min({limit, until, MakeLocalTime(kLastYear, 12, 31, 23, 59)});
  // Lines continuing a series end half hours after it: not worth a word.
  capped = static_cast<std::int64_t>(until) - capped_until > kOneDay;
  return capped_until;
}

bool Contains(const std::vector<LocalTime>& sorted, LocalTime t) {
  return std::binary_search(sorted.begin(), sorted.end(), t);
}

class EventPlanner {
 public:
  EventPlanner(Planner& lines, LocalTime now) : lines_(lines), now_(now) {}

  std::optional<PlannedEvent> Plan(const EventRecord& e,
                                   std::vector<const EventRecord*> overrides) {
    IcsImportCounts& c = lines_.counts();
    if (!Counted(e)) return std::nullopt;
    PlannedEvent event;
    event.uid = e.uid.empty() ? DerivedUid(e) : e.uid;
    if (e.rule && e.rules == 1 && SeriesFits(e, overrides)) {
      event.series = std::make_unique<PlannedSeries>(Series(e, overrides, event.lines));
      ++c.series;
    } else if (e.recurring) {
      Expand(e, overrides, event.lines);
      ++c.expandedEvents;
      c.expandedEntries += static_cast<int>(event.lines.size());
      if (e.rules > 0) ++c.expandedRules;
      if (e.beyondHorizon) ++c.beyondHorizon;
    } else {
      const EventRecord* own = FindOverride(overrides, e.start.t);
      if (own && own->skip == EventRecord::Skip::Cancelled) return std::nullopt;
      event.lines.push_back(
          lines_.LineFor(own ? *own : e, own ? own->start : e.start, OneOff(e, own), true));
      ++c.oneOff;
    }
    if (e.details) ++c.details;
    if (e.unknownZone) ++c.unknownZones;
    return event;
  }

  // Whether the record is imported; a skipped one is counted.
  bool Counted(const EventRecord& e) {
    IcsImportCounts& c = lines_.counts();
    switch (e.skip) {
      case EventRecord::Skip::None:
        return true;
      case EventRecord::Skip::NoStart:
        ++c.noStart;
        break;
      case EventRecord::Skip::Cancelled:
        ++c.cancelled;
        break;
      case EventRecord::Skip::OutOfRange:
        ++c.outOfRange;
        break;
      case EventRecord::Skip::NoTitle:
        ++c.noTitle;
        break;
    }
    ++c.skipped;
    return false;
  }

 private:
  static const EventRecord* FindOverride(const std::vector<const EventRecord*>& overrides,
                                         LocalTime t) {
    for (const EventRecord* o : overrides)
      if (o->recurrenceId == t) return o;
    return nullptr;
  }

  static Model OneOff(const EventRecord& e, const EventRecord* own) {
    Model m;
    ApplyX(e.x, m, false, 0);
    if (own) ApplyX(own->x, m, false, 0);
    return m;
  }

  // A series keeps its exceptions only where the calendar stores occurrences.
  bool SeriesFits(const EventRecord& e, const std::vector<const EventRecord*>& overrides) const {
    if (e.instances.empty() || e.instances.front().t != e.start.t) return false;
    const LocalTime horizon = ImportHorizon(now_, e.rule->code == kEveryYear);
    if (Contains(e.exdates, e.start.t)) return false;
    for (LocalTime x : e.exdates)
      if (x > horizon) return false;
    for (const EventRecord* o : overrides)
      if (*o->recurrenceId > horizon || *o->recurrenceId == e.start.t) return false;
    return true;
  }

  PlannedSeries Series(const EventRecord& e, const std::vector<const EventRecord*>& overrides,
                       std::vector<PlannedLine>& oneOffs) {
    const SeriesRule& rule = *e.rule;
    Model m{rule.code, rule.nthday, rule.nthweek, rule.sday};
    ApplyX(e.x, m, true, rule.code);
    PlannedSeries s;
    s.first = lines_.LineFor(e, e.start, m, true);
    bool capped = false;
    s.until = CappedUntil(rule.code, e.until.value_or(std::numeric_limits<LocalTime>::max()),
                          e.start.t, now_, capped);
    if (capped) ++lines_.counts().untilCapped;
    for (std::size_t i = 1; i < e.instances.size(); ++i) {
      const Start& at = e.instances[i];
      if (at.t > s.until) break;
      const Slot slot = lines_.LineFor(e, at, m, false).fields.slot;
      const EventRecord* own = FindOverride(overrides, at.t);
      const bool excluded =
          Contains(e.exdates, at.t) || (own && own->skip == EventRecord::Skip::Cancelled);
      s.occurrences.push_back({slot, excluded});
      if (!own || excluded) continue;
      Model mine = m;
      ApplyX(own->x, mine, true, rule.code);
      if (lines_.LineFor(*own, own->start, mine, false).fields.slot == slot) {
        s.changed.push_back(lines_.LineFor(*own, own->start, mine, true));
      } else {
        // Moved to another line: the calendar cannot move one occurrence.
        s.occurrences.back().skipped = true;
        oneOffs.push_back(lines_.LineFor(*own, own->start, OneOff(e, own), true));
      }
    }
    for (const Start& at : e.rdates) {
      const EventRecord* own = FindOverride(overrides, at.t);
      if (own && own->skip == EventRecord::Skip::Cancelled) continue;
      oneOffs.push_back(
          lines_.LineFor(own ? *own : e, own ? own->start : at, OneOff(e, own), false));
    }
    EndAtLastKept(s, ImportHorizon(now_, rule.code == kEveryYear));
    return s;
  }

  // The calendar continues a series from its latest stored occurrence up to
  // its until, so occurrences left out at the end of a series that ends
  // before the horizon would come back at the next start: it ends at the
  // last one kept.
  static void EndAtLastKept(PlannedSeries& s, LocalTime horizon) {
    if (s.until >= horizon) return;
    LocalTime last = s.first.fields.slot.Time();
    for (const Occurrence& o : s.occurrences)
      if (!o.skipped) last = o.slot.Time();
    if (!s.occurrences.empty() && s.occurrences.back().skipped) s.until = last;
  }

  void Expand(const EventRecord& e, const std::vector<const EventRecord*>& overrides,
              std::vector<PlannedLine>& out) {
    std::vector<Start> all = e.instances;
    all.insert(all.end(), e.rdates.begin(), e.rdates.end());
    all.push_back(e.start);
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    bool first = true;
    for (const Start& at : all) {
      if (Contains(e.exdates, at.t)) continue;
      const EventRecord* own = FindOverride(overrides, at.t);
      if (own && own->skip == EventRecord::Skip::Cancelled) continue;
      out.push_back(lines_.LineFor(own ? *own : e, own ? own->start : at, OneOff(e, own), first));
      first = false;
    }
  }

  Planner& lines_;
  LocalTime now_;
};

}  // namespace

ImportPlan PlanImport(std::string_view text, LocalTime now,
                      const std::function<void(double)>& progress) {
  ImportPlan plan;
  plan.now = now;
  plan.horizonDate = DateText(ImportHorizon(now, false));
  const LocalZone local = FindLocalZone();
  ZoneTable zones;
  IcsImportCounts& c = plan.counts;
  std::unique_ptr<Planner> lines;
  std::unique_ptr<EventPlanner> events;
  // Events in file order: a plain event is planned at once and its record let
  // go; a repeating one waits for the versions of its occurrences.
  std::vector<std::optional<PlannedEvent>> planned;
  std::vector<std::pair<std::size_t, EventRecord>> repeating;
  std::multimap<std::string, EventRecord> overrides;
  std::unordered_set<std::string> masterUids;
  std::vector<icalcomponent*> waiting;  // events naming a zone described further on

  auto readEvent = [&](icalcomponent* comp) {
    EventRecord e = ReadEvent(comp, zones, local.tzid, now);
    c.unreadable += e.unreadable;
    if (e.recurrenceId) {
      overrides.emplace(e.uid, std::move(e));
      return;
    }
    masterUids.insert(e.uid);
    if (e.recurring || overrides.count(e.uid)) {
      repeating.emplace_back(planned.size(), std::move(e));
      planned.emplace_back();
    } else {
      planned.push_back(events->Plan(e, {}));
    }
  };

  const StreamCounts seen = ForEachComponent(
      text,
      [&](icalcomponent* comp, std::string_view productId) {
        std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> owned(comp, icalcomponent_free);
        if (!lines) {
          // A file this calendar wrote holds its texts as they are, merged ones too.
          const bool ours = productId.starts_with(kProductId.substr(0, kProductId.rfind(' ')));
          lines = std::make_unique<Planner>(
              c, ours ? std::numeric_limits<std::size_t>::max() : kEntryTextLimit);
          events = std::make_unique<EventPlanner>(*lines, now);
        }
        switch (icalcomponent_isa(comp)) {
          case ICAL_VTIMEZONE_COMPONENT:
            zones.Add(comp);
            break;
          case ICAL_VEVENT_COMPONENT: {
            icalproperty* start = icalcomponent_get_first_property(comp, ICAL_DTSTART_PROPERTY);
            const std::string tzid(start ? TzidOf(start) : std::string_view());
            if (!tzid.empty() && !zones.Find(tzid)) {
              waiting.push_back(owned.release());
            } else {
              readEvent(comp);
            }
            break;
          }
          default:
            ++c.otherComponents;
            break;
        }
      },
      progress);
  if (seen.components == 0) {
    plan.error = "the file holds no iCalendar data";
    return plan;
  }
  for (icalcomponent* comp : waiting) {
    readEvent(comp);
    icalcomponent_free(comp);
  }
  c.unreadable += seen.unterminated;

  for (auto& [at, e] : repeating) {
    std::vector<const EventRecord*> own;
    auto [from, to] = overrides.equal_range(e.uid);
    // A version that cannot be placed (no start, out of the years, no title)
    // is skipped and said; the occurrence keeps the event's own.
    for (auto it = from; it != to; ++it)
      if (it->second.skip == EventRecord::Skip::Cancelled || events->Counted(it->second))
        own.push_back(&it->second);
    planned[at] = events->Plan(e, std::move(own));
  }
  // Versions of occurrences whose event is not in the file stand alone.
  for (auto& [uid, o] : overrides) {
    if (masterUids.count(uid)) continue;
    EventRecord alone = o;
    alone.recurrenceId.reset();
    planned.push_back(events->Plan(alone, {}));
  }
  plan.events.reserve(planned.size());
  for (auto& event : planned)
    if (event) plan.events.push_back(std::move(*event));
  return plan;
}

}  // namespace vesk
