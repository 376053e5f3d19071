#pragma once
// What the command line asks of the entries: the agenda of some days, what
// is next, and a new entry.
#include <expected>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/local_time.h"
#include "store/registry_store.h"

namespace vesk {

struct AppContext;
class CEntryList;

// Days from a first date.
struct AgendaRange {
  int year = 0, month = 0, day = 0;
  int days = 1;
};

inline constexpr int kMaxAgendaDays = 3660;

// "YYYY-MM-DD" (empty: today) and a day count (empty: 1); the error says
// what is wrong.
std::expected<AgendaRange, std::string> ParseAgendaRange(std::string_view date,
                                                         std::string_view days, LocalTime now);
// The months the range touches, in order.
std::vector<YearMonth> MonthsOf(const AgendaRange& range);

// One line per entry, "YYYY-MM-DD HH:MM  text", in time order; or a JSON
// array of objects with date, time, text, repeat and reminder.
std::string AgendaText(CEntryList& entries, const AgendaRange& range, bool json);

// The tray tooltip's text for now, or the next entry as a JSON object (null
// when there is none).
std::string NextText(AppContext& ctx, LocalTime now, bool json);

// A refused request: the message for the user.
struct Refusal {
  std::string message;
  bool failed = false;  // not refused: the store could not be written
};

// Adds an entry at "YYYY-MM-DD HH:MM", as a typed line is: with the default
// reminder unless minutes are given ("" for the default). Refused: a time off
// the half hour, a date that does not exist or lies outside 1990..2036, a
// taken line, an empty or over-long text, a reminder outside 0..180.
std::expected<std::string, Refusal> AddEntry(AppContext& ctx, std::string_view when,
                                             std::string_view text, std::string_view minutes);

}  // namespace vesk
