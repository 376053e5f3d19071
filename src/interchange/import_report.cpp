#include "interchange/import_report.h"

#include <string_view>

namespace vesk {
namespace {

std::string Plural(int n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

void Line(std::string& out, int n, std::string_view one, std::string_view many,
          std::string_view rest) {
  if (n <= 0) return;
  out += "  " + Plural(n, one, many) + " " + std::string(rest) + "\n";
}

}  // namespace

std::string ImportReportText(const IcsImportCounts& c, const std::string& horizonDate) {
  std::string out = "Imported " + Plural(c.Imported(), "event", "events") + ": " +
                    std::to_string(c.series) + " series, " +
                    Plural(c.oneOff, "one-off entry", "one-off entries") + ", " +
                    Plural(c.expandedEntries, "expanded occurrence", "expanded occurrences") +
                    "; " + std::to_string(c.skipped) + " skipped\n";
  Line(out, c.noStart, "event", "events", "without a start time skipped");
  Line(out, c.cancelled, "cancelled event", "cancelled events", "skipped");
  Line(out, c.outOfRange, "event", "events", "outside the years 1990 to 2036 skipped");
  Line(out, c.noTitle, "event", "events", "without a title skipped");
  Line(out, c.expandedRules, "repeating event", "repeating events",
       "with a rule the calendar cannot repeat by laid out as one-off entries");
  Line(out, c.beyondHorizon, "repeating event", "repeating events",
       "imported up to " + horizonDate + " only (later occurrences left out)");
  Line(out, c.untilCapped, "series", "series",
       "ended at the calendar's limit (a year for daily, five years for weekly and monthly, "
       "twenty for yearly repeats)");
  Line(out, c.offHalfHour, "event", "events",
       "starting off the half hour put on the line before, the exact time at the start of "
       "the text");
  Line(out, c.continued, "event", "events", "longer than half an hour given \"(continued)\" lines");
  Line(out, c.cutAtMidnight, "event", "events", "running past midnight cut at midnight");
  Line(out, c.allDay, "all-day event", "all-day events", "put on the 8:00 line");
  Line(out, c.severalDays, "all-day event", "all-day events",
       "of several days kept on their first day only");
  Line(out, c.textsCut, "text", "texts", "cut to 100 characters");
  Line(out, c.textsJoined, "text", "texts", "of several lines put on one line");
  Line(out, c.details, "description or location", "descriptions and locations", "left out");
  Line(out, c.unknownZones, "time", "times",
       "in a time zone the file does not describe read as local time");
  Line(out, c.leadsCapped, "reminder", "reminders", "earlier than 180 minutes set to 180 minutes");
  Line(out, c.leadsLate, "reminder", "reminders", "after the line's start moved to its start");
  Line(out, c.dayBeforeOnly, "event", "events",
       "with only a day-before alarm also reminded at their start");
  Line(out, c.alarmsDropped, "alarm", "alarms", "beyond a reminder and a day-before one left out");
  Line(out, c.merged, "text", "texts", "added to a line that already held an entry");
  Line(out, c.alreadyThere, "event", "events", "already in the calendar left as they were");
  Line(out, c.replaced, "event", "events", "imported before replaced by this import");
  Line(out, c.unreadable, "line", "lines", "of the file that could not be read left out");
  Line(out, c.otherComponents, "to-do, journal or other item", "to-dos, journals and other items",
       "left out");
  return out;
}

}  // namespace vesk
