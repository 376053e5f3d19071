#include "interchange/uids.h"

#include <cstdio>
#include <random>

#include "store/planner_entry.h"
#include "store/registry_store.h"

namespace vesk {
namespace {

std::string Stamp(LocalTime t) {
  const DateTime d = BreakLocalTime(t);
  char text[24];
  std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d", d.year, d.month, d.day, d.hour,
                d.minute);
  return text;
}

std::string NewId() {
  std::random_device random;
  char text[24];
  std::snprintf(text, sizeof text, "%08x%08x", random(), random());
  return text;
}

}  // namespace

std::string CalendarId(CRegistryStore& store) {
  std::string id;
  if (store.OpenSectionForReading(kInterchangeSection) && store.GetString(kCalendarIdValue, id) &&
      !id.empty())
    return id;
  id = NewId();
  if (store.OpenSection(kInterchangeSection) != OpenResult::Failed &&
      store.SetString(kCalendarIdValue, id))
    return id;
  return "unstored";
}

std::string MadeHereUid(const CPlannerEntry& e, const std::string& calendarId) {
  char line[48];
  if (e.repeats != 0) {
    std::snprintf(line, sizeof line, "-%d-%02d%02d", e.repeats, e.hour(), e.minute());
    return "veskcal-" + Stamp(e.started) + line + "-" + calendarId;
  }
  std::snprintf(line, sizeof line, "%04d%02d%02dT%02d%02d", e.year(), e.month(), e.day(), e.hour(),
                e.minute());
  return std::string("veskcal-") + line + "-" + calendarId;
}

std::string UidOf(const CPlannerEntry& e, const std::string& calendarId) {
  return e.uid.empty() ? MadeHereUid(e, calendarId) : e.uid;
}

}  // namespace vesk
