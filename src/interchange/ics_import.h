#pragma once
// Importing an iCalendar file: PlanImport (import_plan.h) reads it off the
// user-interface thread; ApplyImport makes the entries in one transaction.
#include <string>

#include "interchange/import_plan.h"

namespace vesk {

struct AppContext;

struct ImportResult {
  bool ok = false;
  IcsImportCounts counts;
  std::string report;  // the report text, or why nothing was imported
};

// Makes the planned entries, all or nothing. An event whose UID the calendar
// knows replaces the entries it made before; an entry whose line is taken has
// its text added to the line's entry, as the calendar merges texts. The plan
// is used up on the way, so that it and the entries made never stand in
// memory whole at once.
ImportResult ApplyImport(AppContext& ctx, ImportPlan plan);

}  // namespace vesk
