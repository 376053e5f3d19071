#include "interchange/ics_export.h"

#include <libical/ical.h>

#include "interchange/ics_time.h"
#include "interchange/uids.h"
#include "store/app_context.h"
#include "store/backup_record.h"

namespace vesk {
namespace {

constexpr int kProgressEvery = 1024;

// The text of an occurrence without its exact start, and that start as
// minutes into its line.
struct Timed {
  int minutes = 0;
  std::string summary;
};

Timed TimedOf(const EntryFields& f) {
  if (auto t = SplitTimePrefix(f.notes, f.slot)) return {t->minutesIntoLine, std::string(t->rest)};
  return {0, f.notes};
}

// The wall time some minutes after a line's start, from the line's own date
// and time of day: a line in the hour a clock change skips keeps its time.
icaltimetype SlotWall(const Slot& s, int minutesAfter) {
  const int total = s.hour * 60 + s.minute + minutesAfter;
  icaltimetype w = icaltime_null_time();
  w.year = s.year;
  w.month = s.month;
  w.day = s.day;
  if (total >= 24 * 60) {
    const DateTime next = BreakLocalTime(MakeLocalTime(s.year, s.month, s.day + 1, 12, 0));
    w.year = next.year;
    w.month = next.month;
    w.day = next.day;
    return w;
  }
  w.hour = total / 60;
  w.minute = total % 60;
  return w;
}

class Writer {
 public:
  Writer(LocalTime now) : zone_(FindLocalZone()) {
    stamp_ = icaltime_from_timet_with_zone(now, 0, icaltimezone_get_utc_timezone());
    out_ = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:" + std::string(kProductId) +
           "\r\nCALSCALE:GREGORIAN\r\n";
    if (icalcomponent* tz = zone_.zone ? icaltimezone_get_component(zone_.zone) : nullptr) {
      icalcomponent* copy = icalcomponent_new_clone(tz);
      // The zone by its plain name, which other programs know.
      if (icalproperty* id = icalcomponent_get_first_property(copy, ICAL_TZID_PROPERTY))
        icalproperty_set_tzid(id, zone_.tzid.c_str());
      Append(copy);
    } else {
      zone_ = {};
    }
  }

  void Event(const ExportEvent& ev, ExportResult& result) {
    const Timed master = TimedOf(ev.model);
    const int offset = master.minutes;
    icalcomponent* c = Common(ev.uid, ev.model, ev.first.continued, master);
    if (ev.rule) {
      icalrecurrencetype r = icalrecurrencetype_from_string(RuleText(*ev.rule)->c_str());
      r.until = zone_.zone
                    ? icaltime_from_timet_with_zone(ev.until, 0, icaltimezone_get_utc_timezone())
                    : WallTime(ev.until);
      icalcomponent_add_property(c, icalproperty_new_rrule(r));
      ++result.series;
    }
    for (const Slot& s : ev.excluded)
      icalcomponent_add_property(c, Zoned(icalproperty_new_exdate(SlotWall(s, offset))));
    for (const ExportOccurrence& o : ev.extra) {
      icaldatetimeperiodtype d{};
      d.time = SlotWall(o.entry->fields.slot, offset);
      d.period = icalperiodtype_null_period();
      icalcomponent_add_property(c, Zoned(icalproperty_new_rdate(d)));
    }
    AddX(c, ev.x);
    Append(c);
    for (std::size_t i = 0; i < ev.versions.size(); ++i) {
      const ExportOccurrence& o = ev.versions[i];
      icalcomponent* v = Common(ev.uid, o.entry->fields, o.continued, TimedOf(o.entry->fields));
      icalcomponent_add_property(
          v, Zoned(icalproperty_new_recurrenceid(SlotWall(o.entry->fields.slot, offset))));
      AddX(v, ev.versionX[i]);
      Append(v);
    }
    ++result.events;
    result.versions += static_cast<int>(ev.versions.size());
  }

  std::string Finish() {
    out_ += "END:VCALENDAR\r\n";
    return std::move(out_);
  }

 private:
  icalproperty* Zoned(icalproperty* p) {
    if (zone_.zone) icalproperty_add_parameter(p, icalparameter_new_tzid(zone_.tzid.c_str()));
    return p;
  }

  // The properties every version of an occurrence has.
  icalcomponent* Common(const std::string& uid, const EntryFields& f, int continued,
                        const Timed& t) {
    icalcomponent* c = icalcomponent_new_vevent();
    icalcomponent_add_property(c, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(c, icalproperty_new_dtstamp(stamp_));
    const Slot& s = f.slot;
    icalcomponent_add_property(c, Zoned(icalproperty_new_dtstart(SlotWall(s, t.minutes))));
    icalcomponent_add_property(
        c, Zoned(icalproperty_new_dtend(SlotWall(s, kLineMinutes * (continued + 1)))));
    icalcomponent_add_property(c, icalproperty_new_summary(t.summary.c_str()));
    if (f.lead >= 0) {
      // The reminder rings lead minutes before the line, wherever in it the event starts.
      AddAlarm(c, -60 * static_cast<std::int64_t>(f.lead + t.minutes), t.summary);
      if (f.dayEarly) AddAlarm(c, -86400, t.summary);
    }
    return c;
  }

  static void AddAlarm(icalcomponent* c, std::int64_t offset, const std::string& text) {
    icalcomponent* a = icalcomponent_new_valarm();
    icalcomponent_add_property(a, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icaltriggertype trigger{};
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(static_cast<int>(offset));
    icalcomponent_add_property(a, icalproperty_new_trigger(trigger));
    icalcomponent_add_property(a, icalproperty_new_description(text.c_str()));
    icalcomponent_add_component(c, a);
  }

  static void AddX(icalcomponent* c, const XFields& x) {
    auto add = [c](const char* name, const std::string& value) {
      icalproperty* p = icalproperty_new_x(value.c_str());
      icalproperty_set_x_name(p, name);
      icalcomponent_add_property(c, p);
    };
    if (x.repeats) add(kXRepeats, std::to_string(*x.repeats));
    if (x.nthday) add(kXNthday, std::to_string(*x.nthday));
    if (x.nthweek) add(kXNthweek, *x.nthweek);
    if (x.sday) add(kXSday, *x.sday);
    if (x.until) add(kXUntil, std::to_string(*x.until));
  }

  void Append(icalcomponent* c) {
    char* text = icalcomponent_as_ical_string_r(c);
    out_ += text;
    icalmemory_free_buffer(text);
    icalcomponent_free(c);
  }

  LocalZone zone_;
  icaltimetype stamp_;
  std::string out_;
};

}  // namespace

ExportSnapshot TakeSnapshot(AppContext& ctx) {
  const std::string calendar = CalendarId(ctx.store);
  ExportSnapshot snapshot;
  snapshot.now = static_cast<LocalTime>(ctx.clock.Now());
  // Month by month in time order, each read for the visit and let go again.
  ctx.entries.VisitAllMonths([&](const CPlannerEntry& e) {
    // Only a damaged store holds an entry on no real date and time.
    if (!IsCalendarSlot(e.year(), e.month(), e.day(), e.hour(), e.minute())) return;
    snapshot.entries.push_back({FieldsOf(e), e.started, e.until, UidOf(e, calendar), !e.uid.empty(),
                                e.IsContinued(), e.stored()});
  });
  return snapshot;
}

ExportResult WriteIcs(const ExportSnapshot& snapshot, const std::function<void(double)>& progress) {
  const std::vector<ExportEvent> events = PlanExport(snapshot.entries, snapshot.now);
  ExportResult result;
  result.entries = static_cast<int>(snapshot.entries.size());
  Writer writer(snapshot.now);
  for (std::size_t i = 0; i < events.size(); ++i) {
    writer.Event(events[i], result);
    if (progress && i % kProgressEvery == 0)
      progress(static_cast<double>(i) / static_cast<double>(events.size()));
  }
  result.text = writer.Finish();
  return result;
}

}  // namespace vesk
