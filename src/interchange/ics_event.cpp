#include "interchange/ics_event.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <limits>

#include "calendar/calendar.h"
#include "interchange/entry_fields.h"
#include "store/repeat_rules.h"

namespace vesk {
namespace {

constexpr int kFirstYear = 1990;
constexpr int kLastYear = 2036;
// No event is laid out into more occurrences than this.
constexpr int kMaxInstances = 20000;
constexpr std::int64_t kOneDay = 86400;

// How the times of one TZID are read.
struct Zone {
  icaltimezone* zone = nullptr;  // null: floating, or a zone nobody describes
  bool local = false;            // the wall times are this program's own
  bool unknown = false;
};

Zone ZoneFor(std::string_view tzid, ZoneTable& zones, const std::string& localTzid) {
  if (tzid.empty()) return {nullptr, true, false};
  Zone z;
  z.zone = zones.Find(tzid);
  z.local = tzid == localTzid;
  z.unknown = z.zone == nullptr;
  if (z.unknown) z.local = true;  // read as local time, and said so
  return z;
}

bool InYears(int year) { return year >= kFirstYear && year <= kLastYear; }

// libical reads a malformed date such as "2024100" as the day 0 of a month.
bool IsRealTime(const icaltimetype& t) {
  if (icaltime_is_null_time(t) || t.month < 1 || t.month > 12 || t.day < 1 ||
      t.day > DaysInMonth(t.year, t.month))
    return false;
  return t.is_date || (t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 &&
                       t.second >= 0 && t.second <= 60);
}

// The start of an occurrence written as t in zone z; none outside the years
// (or, for an end, outside what the program can count).
std::optional<Start> MakeStart(icaltimetype t, const Zone& z, bool inYears = true) {
  if (!IsRealTime(t)) return std::nullopt;
  const auto years = [inYears](int year) { return !inYears || InYears(year); };
  Start s;
  if (t.is_date) {
    if (!years(t.year)) return std::nullopt;
    s.allDay = true;
    s.t = MakeLocalTime(t.year, t.month, t.day, kAllDayHour, 0);
    s.wall = BreakLocalTime(s.t);
    return s;
  }
  if (!years(t.year) || t.year < 1902 || t.year > 2037) return std::nullopt;
  const bool utc = icaltime_is_utc(t);
  t.zone = nullptr;
  if (!utc && (z.local || !z.zone)) {
    // The file's wall time is the calendar's: the line keeps it even in the
    // hour a clock change skips.
    s.t = MakeLocalTime(t.year, t.month, t.day, t.hour, t.minute, t.second);
    s.wall = DateTime{
        t.year, t.month, t.day, t.hour, t.minute, t.second, WeekdayOf(t.year, t.month, t.day)};
  } else {
    const std::int64_t epoch =
        icaltime_as_timet_with_zone(t, utc ? icaltimezone_get_utc_timezone() : z.zone);
    if (epoch < std::numeric_limits<LocalTime>::min() ||
        epoch > std::numeric_limits<LocalTime>::max())
      return std::nullopt;
    s.t = static_cast<LocalTime>(epoch);
    s.wall = BreakLocalTime(s.t);
  }
  if (!years(s.wall.year)) return std::nullopt;
  return s;
}

std::optional<Start> PropertyStart(icalproperty* p, icaltimetype t, ZoneTable& zones,
                                   const std::string& localTzid, bool& unknownZone) {
  const Zone z = ZoneFor(TzidOf(p), zones, localTzid);
  unknownZone = unknownZone || z.unknown;
  return MakeStart(t, z);
}

std::string Text(const char* s) { return s ? s : ""; }

// A UID without its control characters, which no file may hold and an export
// could not write back as they were read.
std::string UidText(const char* s) {
  std::string uid = Text(s);
  std::erase_if(uid, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
  return uid;
}

bool HasText(icalcomponent* c, icalproperty_kind kind) {
  icalproperty* p = icalcomponent_get_first_property(c, kind);
  if (!p) return false;
  const char* value = icalproperty_get_value_as_string(p);
  return value && *value;
}

int CountErrors(icalcomponent* c) {
  int n = icalcomponent_count_properties(c, ICAL_XLICERROR_PROPERTY);
  for (icalcomponent* sub = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); sub;
       sub = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
    n += CountErrors(sub);
  return n;
}

std::optional<int> Number(const char* text) {
  if (!text) return std::nullopt;
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < 0 || v > 31) return std::nullopt;
  return static_cast<int>(v);
}

XFields ReadX(icalcomponent* c) {
  XFields x;
  for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
       p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
    const char* name = icalproperty_get_x_name(p);
    const char* value = icalproperty_get_x(p);
    if (!name || !value) continue;
    if (strcasecmp(name, kXRepeats) == 0) {
      if (auto n = Number(value); n && *n <= kEveryYear) x.repeats = n;
    } else if (strcasecmp(name, kXNthday) == 0) {
      x.nthday = Number(value);
    } else if (strcasecmp(name, kXNthweek) == 0 && std::strlen(value) <= kEntryTextLimit) {
      x.nthweek = value;
    } else if (strcasecmp(name, kXSday) == 0 && std::strlen(value) <= kEntryTextLimit) {
      x.sday = value;
    } else if (strcasecmp(name, kXUntil) == 0) {
      char* end = nullptr;
      const long long v = std::strtoll(value, &end, 10);
      if (end != value && *end == '\0' && v > 0 && v <= std::numeric_limits<LocalTime>::max())
        x.until = static_cast<LocalTime>(v);
    }
  }
  return x;
}

// Display and audio alarms as seconds after the start; the rest counted.
void ReadAlarms(icalcomponent* c, std::int64_t duration, EventRecord& e, ZoneTable& zones,
                const std::string& localTzid) {
  for (icalcomponent* a = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT); a;
       a = icalcomponent_get_next_component(c, ICAL_VALARM_COMPONENT)) {
    icalproperty* action = icalcomponent_get_first_property(a, ICAL_ACTION_PROPERTY);
    icalproperty* trigger = icalcomponent_get_first_property(a, ICAL_TRIGGER_PROPERTY);
    const auto kind = action ? icalproperty_get_action(action) : ICAL_ACTION_NONE;
    if (!trigger || (kind != ICAL_ACTION_DISPLAY && kind != ICAL_ACTION_AUDIO)) {
      ++e.otherAlarms;
      continue;
    }
    const icaltriggertype tr = icalproperty_get_trigger(trigger);
    if (!icaltime_is_null_time(tr.time)) {
      bool unknown = false;
      if (auto at = PropertyStart(trigger, tr.time, zones, localTzid, unknown))
        e.alarms.push_back(static_cast<std::int64_t>(at->t) - e.start.t);
      else
        ++e.otherAlarms;
      continue;
    }
    std::int64_t offset = icaldurationtype_as_int(tr.duration);
    icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
    if (related && icalparameter_get_related(related) == ICAL_RELATED_END) offset += duration;
    e.alarms.push_back(offset);
  }
}

// Seconds of a wall-clock time counted without clock changes.
std::int64_t WallSeconds(const icaltimetype& t) {
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  return timegm(&tm);
}

// The event's length: DTEND, else DURATION, else a day for a date and nothing
// for a time. Between two local wall times it is counted on the wall clock,
// so an event in the night of a clock change keeps its lines.
std::int64_t ReadDuration(icalcomponent* c, EventRecord& e, icaltimetype dtstart, const Zone& zone,
                          ZoneTable& zones, const std::string& localTzid) {
  if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY)) {
    const icaltimetype end = icalproperty_get_dtend(p);
    if (end.is_date && dtstart.is_date)
      return std::max<std::int64_t>(kOneDay,
                                    icaldurationtype_as_int(icaltime_subtract(end, dtstart)));
    const Zone endZone = ZoneFor(TzidOf(p), zones, localTzid);
    e.unknownZone = e.unknownZone || endZone.unknown;
    if (zone.local && endZone.local && !icaltime_is_utc(dtstart) && !icaltime_is_utc(end)) {
      e.wallDuration = true;
      return std::max<std::int64_t>(0, WallSeconds(end) - WallSeconds(dtstart));
    }
    if (auto s = MakeStart(end, endZone))
      return std::max<std::int64_t>(0, static_cast<std::int64_t>(s->t) - e.start.t);
    return 0;
  }
  if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_DURATION_PROPERTY))
    return std::max(0, icaldurationtype_as_int(icalproperty_get_duration(p)));
  return e.start.allDay ? kOneDay : 0;
}

FirstDate FirstDateOf(const Start& s) {
  return {s.wall.year, s.wall.month, s.wall.day, s.wall.weekday};
}

// The end UNTIL gives, as a local time (a date ends with its day).
LocalTime UntilOf(icaltimetype u, const Zone& z) {
  if (u.is_date) {
    u.is_date = 0;
    u.hour = 23;
    u.minute = 59;
    u.second = 59;
  }
  // An until such as "20240832" ends the rule where libical's expansion ends
  // it: at the day it runs over into.
  u = icaltime_normalize(u);
  if (auto s = MakeStart(u, z, false)) return s->t;
  return u.year < kFirstYear ? std::numeric_limits<LocalTime>::min()
                             : std::numeric_limits<LocalTime>::max();
}

// Collects the occurrences of one RRULE up to the horizon, and its end.
void ExpandRule(const icalrecurrencetype& r, icaltimetype dtstart, const Zone& z, LocalTime horizon,
                EventRecord& e) {
  icaltimetype first = dtstart;
  first.zone = z.local ? nullptr : z.zone;
  icalrecur_iterator* it = icalrecur_iterator_new(r, first);
  if (!it) return;
  std::optional<LocalTime> last;
  bool ended = true;
  for (int n = 0;; ++n) {
    const icaltimetype next = icalrecur_iterator_next(it);
    if (icaltime_is_null_time(next)) break;
    if (n >= kMaxInstances || next.year > kLastYear) {
      e.beyondHorizon = true;
      ended = false;
      break;
    }
    const auto s = MakeStart(next, z);
    if (!s) continue;
    last = s->t;
    // The first occurrence is the event's own start, wherever it lies.
    if (s->t > horizon && !(n == 0 && s->t == e.start.t)) {
      e.beyondHorizon = true;
      // Only a COUNT still has to be walked to its end, which is the until.
      if (r.count <= 0) {
        ended = false;
        break;
      }
      continue;
    }
    e.instances.push_back(*s);
  }
  icalrecur_iterator_free(it);
  if (e.rules != 1) return;
  if (!icaltime_is_null_time(r.until))
    e.until = UntilOf(r.until, z);
  else if (r.count > 0 && ended && last)
    e.until = *last;
}

}  // namespace

LocalTime ImportHorizon(LocalTime now, bool yearly) {
  return static_cast<LocalTime>(std::min<std::int64_t>(
      static_cast<std::int64_t>(now) + (yearly ? kYearlyHorizonSeconds : kHorizonSeconds),
      std::numeric_limits<LocalTime>::max()));
}

EventRecord ReadEvent(icalcomponent* c, ZoneTable& zones, const std::string& localTzid,
                      LocalTime now) {
  EventRecord e;
  e.uid = UidText(icalcomponent_get_uid(c));
  e.unreadable = CountErrors(c);
  e.summary = Text(icalcomponent_get_summary(c));
  e.details = HasText(c, ICAL_DESCRIPTION_PROPERTY) || HasText(c, ICAL_LOCATION_PROPERTY);
  e.x = ReadX(c);

  icalproperty* dtstartProp = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
  const icaltimetype dtstart =
      dtstartProp ? icalproperty_get_dtstart(dtstartProp) : icaltime_null_time();
  if (!dtstartProp || !IsRealTime(dtstart)) {
    e.skip = EventRecord::Skip::NoStart;
    return e;
  }
  const Zone zone = ZoneFor(TzidOf(dtstartProp), zones, localTzid);
  e.unknownZone = zone.unknown;
  if (icalproperty* rid = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY)) {
    bool unknown = false;
    if (auto s = PropertyStart(rid, icalproperty_get_recurrenceid(rid), zones, localTzid, unknown))
      e.recurrenceId = s->t;
  }
  auto start = MakeStart(dtstart, zone);
  if (!start) {
    e.skip = EventRecord::Skip::OutOfRange;
    return e;
  }
  e.start = *start;
  if (icalcomponent_get_status(c) == ICAL_STATUS_CANCELLED) e.skip = EventRecord::Skip::Cancelled;
  e.duration = ReadDuration(c, e, dtstart, zone, zones, localTzid);
  if (e.start.allDay) e.days = static_cast<int>(std::max<std::int64_t>(1, e.duration / kOneDay));
  ReadAlarms(c, e.duration, e, zones, localTzid);

  e.rules = icalcomponent_count_properties(c, ICAL_RRULE_PROPERTY);
  bool yearly = true;
  for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY); p;
       p = icalcomponent_get_next_property(c, ICAL_RRULE_PROPERTY)) {
    const icalrecurrencetype r = icalproperty_get_rrule(p);
    yearly = yearly && r.freq == ICAL_YEARLY_RECURRENCE;
  }
  const LocalTime horizon = ImportHorizon(now, e.rules > 0 && yearly);
  for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY); p;
       p = icalcomponent_get_next_property(c, ICAL_RRULE_PROPERTY)) {
    const icalrecurrencetype r = icalproperty_get_rrule(p);
    if (e.rules == 1) e.rule = MatchRule(r, FirstDateOf(e.start));
    ExpandRule(r, dtstart, zone, horizon, e);
  }
  // A rule in another zone keeps the calendar's wall times only where the two
  // zones agree on every occurrence.
  if (e.rule && !zone.local && !e.start.allDay) {
    const DateTime& w0 = e.start.wall;
    for (const Start& s : e.instances)
      if (s.wall.hour != w0.hour || s.wall.minute != w0.minute) e.rule.reset();
  }
  for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY); p;
       p = icalcomponent_get_next_property(c, ICAL_RDATE_PROPERTY)) {
    const icaldatetimeperiodtype d = icalproperty_get_rdate(p);
    const icaltimetype t = icaltime_is_null_time(d.time) ? d.period.start : d.time;
    // A listed date is an occurrence of its own, wherever it lies.
    bool unknown = false;
    if (auto s = PropertyStart(p, t, zones, localTzid, unknown)) e.rdates.push_back(*s);
  }
  for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); p;
       p = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY)) {
    bool unknown = false;
    if (auto s = PropertyStart(p, icalproperty_get_exdate(p), zones, localTzid, unknown))
      e.exdates.push_back(s->t);
  }
  e.recurring = e.rules > 0 || !e.rdates.empty();
  std::sort(e.instances.begin(), e.instances.end());
  e.instances.erase(std::unique(e.instances.begin(), e.instances.end()), e.instances.end());
  std::sort(e.exdates.begin(), e.exdates.end());
  if (e.summary.empty())
    e.skip = e.skip == EventRecord::Skip::None ? EventRecord::Skip::NoTitle : e.skip;
  return e;
}

}  // namespace vesk
