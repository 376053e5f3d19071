#pragma once
// The entries of the calendar as iCalendar events: which entries make one
// event (a series, an entry with its "(continued)" lines, the entries of one
// imported event), the rule that repeats them, and the occurrences that need
// words of their own, so that importing the events gives the same entries.
#include <optional>
#include <string>
#include <vector>

#include "interchange/entry_fields.h"
#include "interchange/ics_event.h"
#include "interchange/repeat_mapping.h"

namespace vesk {

// An entry as the export sees it, taken on the user-interface thread.
struct ExportEntry {
  EntryFields fields;
  LocalTime started = 0;
  LocalTime until = 0;
  std::string uid;         // the entry's own UID, or the one it is known by
  bool ownUid = false;     // the UID came with an import
  bool continued = false;  // "continued" stands in its text
  bool stored = true;      // in the store, not only in the running calendar's memory
};

// One occurrence: an entry and the lines that continue it.
struct ExportOccurrence {
  const ExportEntry* entry = nullptr;
  int continued = 0;
};

// One VEVENT with the versions of its occurrences that differ from it.
struct ExportEvent {
  std::string uid;
  ExportOccurrence first;
  EntryFields model;  // what an occurrence holds unless it says otherwise
  XFields x;          // the calendar's fields the rest does not give
  std::optional<SeriesRule> rule;
  LocalTime until = 0;
  std::vector<Slot> excluded;              // occurrences of the rule without an entry
  std::vector<ExportOccurrence> extra;     // occurrences besides the rule's (RDATE)
  std::vector<ExportOccurrence> versions;  // occurrences of their own (RECURRENCE-ID)
  std::vector<XFields> versionX;           // the fields each version states
};

// Groups the entries (in time order) into events. Only stored occurrences
// are written: those beyond the horizon that the running calendar holds in
// memory are made again from the rule at every start.
std::vector<ExportEvent> PlanExport(const std::vector<ExportEntry>& entries, LocalTime now);

}  // namespace vesk
