#pragma once
// The tray tooltip: a one-line summary of the next appointment after now.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vesk {

struct AppContext;

inline constexpr const char* kNoAppointments = "Vesk Calendar: no appointments are scheduled";
inline constexpr const char* kInitialTip = "Vesk Calendar";

// A text longer than kTooltipLimit characters keeps its first kTooltipKept and
// gets "..." appended. Characters, not bytes: a UTF-8 text is never cut inside
// a character, and the tip is at most 63 characters long.
inline constexpr std::size_t kTooltipLimit = 62;
inline constexpr std::size_t kTooltipKept = 60;

// The summary of the first entry whose time is later than now, or kNoAppointments.
std::string NextAppointmentText(AppContext& ctx, std::int64_t now);

// Rebuilds the text at most once per second.
class TooltipText {
 public:
  // The new text, or nothing when now equals the time of the last rebuild.
  std::optional<std::string> Update(AppContext& ctx, std::int64_t now);

 private:
  std::optional<std::int64_t> last_;
};

}  // namespace vesk
