#include "interchange/ics_time.h"

#include <cstdlib>
#include <filesystem>

namespace vesk {
namespace {

constexpr std::string_view kZoneInfo = "zoneinfo/";

// The zone name within a path to a zoneinfo file.
std::string ZoneNameFromPath(std::string_view path) {
  const auto at = path.rfind(kZoneInfo);
  return at == std::string_view::npos ? std::string()
                                      : std::string(path.substr(at + kZoneInfo.size()));
}

}  // namespace

ZoneTable::~ZoneTable() {
  for (auto& [name, zone] : zones_) icaltimezone_free(zone, 1);
}

void ZoneTable::Add(icalcomponent* vtimezone) {
  icalproperty* tzid = icalcomponent_get_first_property(vtimezone, ICAL_TZID_PROPERTY);
  if (!tzid || !icalproperty_get_tzid(tzid)) return;
  const std::string name = icalproperty_get_tzid(tzid);
  if (zones_.count(name)) return;
  icaltimezone* zone = icaltimezone_new();
  if (!icaltimezone_set_component(zone, icalcomponent_new_clone(vtimezone))) {
    icaltimezone_free(zone, 1);
    return;
  }
  zones_.emplace(name, zone);
}

icaltimezone* ZoneTable::Find(std::string_view tzid) {
  if (auto it = zones_.find(tzid); it != zones_.end()) return it->second;
  const std::string name(tzid);
  if (icaltimezone* z = icaltimezone_get_builtin_timezone(name.c_str())) return z;
  if (icaltimezone* z = icaltimezone_get_builtin_timezone_from_tzid(name.c_str())) return z;
  if (name == "UTC" || name == "GMT" || name == "Z") return icaltimezone_get_utc_timezone();
  return nullptr;
}

std::string_view TzidOf(icalproperty* prop) {
  icalparameter* p = icalproperty_get_first_parameter(prop, ICAL_TZID_PARAMETER);
  const char* tzid = p ? icalparameter_get_tzid(p) : nullptr;
  return tzid ? std::string_view(tzid) : std::string_view();
}

LocalZone FindLocalZone() {
  std::string name;
  if (const char* tz = std::getenv("TZ"); tz && *tz) {
    std::string_view v = tz;
    if (v.front() == ':') v.remove_prefix(1);
    name = v.starts_with("/") ? ZoneNameFromPath(v) : std::string(v);
  } else {
    std::error_code ec;
    name = ZoneNameFromPath(std::filesystem::read_symlink("/etc/localtime", ec).string());
  }
  LocalZone local;
  // A rule such as "EST5EDT,M3.2.0,M11.1.0" names no zone libical knows.
  if (name.empty()) return local;
  local.zone = icaltimezone_get_builtin_timezone(name.c_str());
  if (local.zone) local.tzid = name;
  return local;
}

icaltimetype WallTime(LocalTime t) {
  const DateTime d = BreakLocalTime(t);
  icaltimetype w = icaltime_null_time();
  w.year = d.year;
  w.month = d.month;
  w.day = d.day;
  w.hour = d.hour;
  w.minute = d.minute;
  w.second = d.second;
  return w;
}

}  // namespace vesk
