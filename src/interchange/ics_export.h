#pragma once
// Exporting the calendar as an iCalendar file: the entries are taken on the
// user-interface thread (TakeSnapshot), the file is written off it (WriteIcs).
// Times are the local zone's wall times with its VTIMEZONE, so another program
// reads the same times; a zone libical cannot name gives floating times.
#include <functional>
#include <string>
#include <vector>

#include "interchange/export_plan.h"

namespace vesk {

struct AppContext;

struct ExportSnapshot {
  std::vector<ExportEntry> entries;  // in time order
  LocalTime now = 0;
};

// Sorts the entry list and copies what the export needs. The calendar's id is
// made and stored on the first export (uids.h).
ExportSnapshot TakeSnapshot(AppContext& ctx);

struct ExportResult {
  std::string text;
  int events = 0;    // VEVENTs with their own UID
  int series = 0;    // of them repeating by a rule
  int versions = 0;  // occurrences written with words of their own
  int entries = 0;   // entries written
};

ExportResult WriteIcs(const ExportSnapshot& snapshot,
                      const std::function<void(double)>& progress = {});

}  // namespace vesk
