#pragma once
// The tray tooltip: a one-line summary of the next appointment after now.
#include <cstdint>
#include <optional>
#include <string>

namespace vesk {

struct AppContext;

inline constexpr const char* kNoAppointments = "Vesk Calendar: no appointments are scheduled";
inline constexpr const char* kInitialTip = "Vesk Calendar";

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
