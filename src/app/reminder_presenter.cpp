#include "app/reminder_presenter.h"

#include <cstdio>

#include "app/main_frame.h"
#include "store/app_context.h"
#include "store/sounds.h"

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

void AppReminderPresenter::ActivateMainFrame() {
  if (ctx_.mainWindow != nullptr) ctx_.mainWindow->ActivateFrame();
}

void AppReminderPresenter::ShowReminder(int /*month*/, int /*day*/, int hour, int minute,
                                        std::string_view text, bool dayEarly) {
  PlayReminderSound(ctx_);
  ctx_.messages.Show(text, MbButtons::Ok, ReminderCaption(hour, minute, dayEarly));
}

}  // namespace vesk
