#include "reminders/reminder_content.h"

#include <cstdio>
#include <string>

#include "calendar/calendar.h"
#include "platform/message_box.h"

namespace vesk {

std::string ReminderCaption(int hour, int minute, bool dayEarly) {
  if (dayEarly) return "Tomorrow";
  if (hour == -1) return std::string(kAppCaption);
  const char* suffix = hour >= 12 ? "pm" : "am";
  const int shown = hour > 12 ? hour - 12 : hour;
  char caption[32];
  std::snprintf(caption, sizeof caption, "VeskCal - %d:%02d%s", shown, minute, suffix);
  return caption;
}

ReminderContent ContentOf(const ReminderNotice& notice) {
  std::string_view header = kReminderHeader;
  if (notice.hour == -1) {
    header = kTimerExpiredHeader;
  } else if (notice.late) {
    header = kLateReminderHeader;
  }
  return {ReminderCaption(notice.hour, notice.minute, notice.dayEarly),
          std::string(header),
          {notice.text},
          notice.hour};
}

ReminderContent MissedContent(const std::vector<ReminderNotice>& missed, bool use24Hour) {
  ReminderContent content{std::string(kMissedCaption), std::string(kMissedHeader), {}, -1};
  const std::size_t shown = missed.size() > kMaxMissedLines ? kMaxMissedLines - 1 : missed.size();
  for (std::size_t i = 0; i < shown; ++i) {
    const ReminderNotice& n = missed[i];
    content.lines.push_back(FormatTime(n.hour, n.minute, use24Hour) + "  " + n.text);
  }
  if (shown < missed.size()) {
    content.lines.push_back("and " + std::to_string(missed.size() - shown) + " more");
  }
  return content;
}

}  // namespace vesk
