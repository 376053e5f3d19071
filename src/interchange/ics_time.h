#pragma once
// Times between iCalendar and the program's local time: the time zones a file
// names, and the zone this program runs in.
#include <libical/ical.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/local_time.h"

namespace vesk {

// The zones a file describes (VTIMEZONE), then libical's built-in ones by name.
class ZoneTable {
 public:
  ZoneTable() = default;
  ~ZoneTable();
  ZoneTable(const ZoneTable&) = delete;
  ZoneTable& operator=(const ZoneTable&) = delete;

  // Takes the zone a VTIMEZONE component describes (the table keeps a copy).
  void Add(icalcomponent* vtimezone);
  // The zone a TZID names; null when neither the file nor libical knows it.
  icaltimezone* Find(std::string_view tzid);

 private:
  std::map<std::string, icaltimezone*, std::less<>> zones_;
};

// The TZID parameter of a property, or empty.
std::string_view TzidOf(icalproperty* prop);

// The zone this program runs in (TZ, else /etc/localtime), when libical
// knows it by name; otherwise times are written without a zone (floating).
struct LocalZone {
  std::string tzid;
  icaltimezone* zone = nullptr;
};
LocalZone FindLocalZone();

// The local wall time of t as an icaltimetype without a zone.
icaltimetype WallTime(LocalTime t);

}  // namespace vesk
