#pragma once
// Reads an iCalendar text one component at a time, so that a file of a
// hundred thousand events never stands in memory as one parsed tree. libical
// unfolds the lines and parses each component; this only follows the
// BEGIN and END lines to hand out the components inside VCALENDAR.
#include <libical/ical.h>

#include <functional>
#include <string>
#include <string_view>

namespace vesk {

struct StreamCounts {
  int calendars = 0;      // VCALENDAR components seen
  int components = 0;     // components handed out
  int unterminated = 0;   // a component the text ended inside of
  std::string productId;  // the PRODID of the (first) calendar
};

// Calls take for every component directly inside a VCALENDAR (or standing
// alone), with the calendar's PRODID as far as read; take owns the component.
// progress, when given, gets the share of the text read (0..1) every few
// hundred components. Returns what was seen.
StreamCounts ForEachComponent(std::string_view text,
                              const std::function<void(icalcomponent*, std::string_view)>& take,
                              const std::function<void(double)>& progress = {});

}  // namespace vesk
