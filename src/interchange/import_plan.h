#pragma once
// An iCalendar text turned into the entries to make, without touching the
// calendar: this runs off the user-interface thread, and the result is
// applied to the store in one transaction (ics_import.h).
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/entry_fields.h"
#include "interchange/import_report.h"

namespace vesk {

// One line with the "(continued)" lines that follow it.
struct PlannedLine {
  EntryFields fields;
  int continued = 0;
  std::optional<LocalTime> until;  // of an occurrence of a series made on its own
};

// An occurrence of a series after its first.
struct Occurrence {
  Slot slot;
  bool skipped = false;  // excluded, or moved to a line of its own
};

// A repeating event the calendar holds as a series of its own rule.
struct PlannedSeries {
  PlannedLine first;  // carries the repeat code and the rule's fields
  LocalTime until = 0;
  std::vector<Occurrence> occurrences;  // the rule's later ones up to the horizon, in order
  std::vector<PlannedLine> changed;     // occurrences with a text, reminder or length of their own
};

struct PlannedEvent {
  std::string uid;
  std::unique_ptr<PlannedSeries> series;  // none for most events: kept small
  std::vector<PlannedLine> lines;         // one-off entries
};

struct ImportPlan {
  std::vector<PlannedEvent> events;
  IcsImportCounts counts;
  LocalTime now = 0;
  std::string horizonDate;  // the last day occurrences were laid out for
  std::string error;        // set when the text is no calendar: nothing is imported
};

// Reads the text (libical) and plans the entries; progress gets the share of
// the text read so far (0..1), now and then.
ImportPlan PlanImport(std::string_view text, LocalTime now,
                      const std::function<void(double)>& progress = {});

}  // namespace vesk
