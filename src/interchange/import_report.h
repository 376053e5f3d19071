#pragma once
// What an import did, and its report: one headline, then one line for each
// kind of change or loss that happened, with its count.
#include <string>

namespace vesk {

struct IcsImportCounts {
  // The headline.
  int series = 0;           // events that became a repeating series
  int oneOff = 0;           // events that became one entry
  int expandedEvents = 0;   // events laid out as one-off entries
  int expandedEntries = 0;  // the entries those made
  int skipped = 0;          // events not imported (the reasons below)
  // Why events were skipped.
  int noStart = 0;
  int cancelled = 0;
  int outOfRange = 0;  // outside the calendar's years
  int noTitle = 0;
  // What changed on the way.
  int offHalfHour = 0;  // exact start kept at the start of the text
  int continued = 0;    // events that got "(continued)" lines
  int cutAtMidnight = 0;
  int allDay = 0;
  int severalDays = 0;      // all-day events kept on their first day
  int textsCut = 0;         // texts cut to the line's 100 characters
  int textsJoined = 0;      // texts of several lines put on one
  int details = 0;          // descriptions and locations left out
  int unknownZones = 0;     // times in an undescribed zone, read as local
  int leadsCapped = 0;      // reminders earlier than 180 minutes
  int leadsLate = 0;        // reminders after the line's start
  int dayBeforeOnly = 0;    // a day-before alarm alone also reminds at the start
  int alarmsDropped = 0;    // alarms beyond the ones a line holds
  int expandedRules = 0;    // repeating events the calendar's rules cannot hold
  int beyondHorizon = 0;    // events whose later occurrences were left out
  int untilCapped = 0;      // series ended at the calendar's limit
  int merged = 0;           // texts added to a line that held an entry
  int alreadyThere = 0;     // texts the line's entry held already
  int replaced = 0;         // events that replaced their earlier import
  int unreadable = 0;       // lines of the file libical could not read
  int otherComponents = 0;  // to-dos, journal entries and the like

  int Imported() const { return series + oneOff + expandedEvents; }
};

// "Imported N events: S series, O one-off entries, E expanded occurrences; K
// skipped" and the lines that apply; horizonDate names the last day imported.
std::string ImportReportText(const IcsImportCounts& counts, const std::string& horizonDate);

}  // namespace vesk
