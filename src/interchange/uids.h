#pragma once
// The UIDs entries are known by in calendar files. An imported entry keeps
// the UID of its event (the value "uid" of its key); an entry made here is
// known by one made of what never changes about it (the series' first time
// and rule, or the line of a one-off entry) and of this calendar's own id, so
// exporting twice gives the same UIDs and a re-import updates.
#include <string>

namespace vesk {

class CPlannerEntry;
class CRegistryStore;

inline constexpr const char* kInterchangeSection = "Interchange";
inline constexpr const char* kCalendarIdValue = "calendar";

// This calendar's id, made and stored on first use; when the store cannot
// keep it, one made of the data that can be read is used.
std::string CalendarId(CRegistryStore& store);

// The UID of an entry made here: "veskcal-" and its series or line, then the
// calendar id.
std::string MadeHereUid(const CPlannerEntry& entry, const std::string& calendarId);

// The entry's own UID, or the one it is known by.
std::string UidOf(const CPlannerEntry& entry, const std::string& calendarId);

}  // namespace vesk
