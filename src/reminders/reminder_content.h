#pragma once
// What a reminder pop-up says: its caption, the header line, the text lines,
// and the hour that picks its background.
#include <string>
#include <string_view>
#include <vector>

#include "reminders/reminder_scheduler.h"

namespace vesk {

struct ReminderContent {
  std::string caption;
  std::string header;
  std::vector<std::string> lines;
  int hour = -1;  // even hours show on dayplan1, odd ones and -1 on dayplan2
};

inline constexpr std::string_view kReminderHeader = " Reminder:";
inline constexpr std::string_view kLateReminderHeader = " Reminder (late):";
inline constexpr std::string_view kTimerExpiredHeader = " Timer Expired:";
inline constexpr std::string_view kMissedCaption = "Missed reminders";
inline constexpr std::string_view kMissedHeader = " While you were away:";

// "Tomorrow" for the day-early reminder; "VeskCal" for hour -1 (an expired
// countdown); otherwise "VeskCal - 9:05am" on the 12-hour clock (hour 0 stays 0).
std::string ReminderCaption(int hour, int minute, bool dayEarly);
// The pop-up of one reminder, or of an expired countdown (hour -1).
ReminderContent ContentOf(const ReminderNotice& notice);
// A longer list ends in a line that counts the rest, so the window stays on the screen.
inline constexpr std::size_t kMaxMissedLines = 20;

// One pop-up for reminders that fell due unseen: "<time>  <text>", a line each.
ReminderContent MissedContent(const std::vector<ReminderNotice>& missed, bool use24Hour);

}  // namespace vesk
