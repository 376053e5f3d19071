#include "app/reminder_presenter.h"

#include <string>
#include <utility>

#include "store/app_context.h"
#include "store/entry_list.h"
#include "store/main_window.h"
#include "views/month_view.h"

namespace vesk {

namespace {

constexpr std::string_view kTimerExpiredBody = "Timer Expired";

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += '\n';
    text += line;
  }
  return text;
}

}  // namespace

AppReminderPresenter::~AppReminderPresenter() {
  if (ctx_.presenter == this) ctx_.presenter = nullptr;
  if (ctx_.notifier != nullptr) ctx_.notifier->SetHandler(nullptr);
}

void AppReminderPresenter::Attach() {
  ctx_.presenter = this;
  if (ctx_.notifier != nullptr) ctx_.notifier->SetHandler(this);
}

void AppReminderPresenter::ActivateMainFrame() {
  if (ctx_.mainWindow != nullptr) ctx_.mainWindow->ActivateFrame();
}

PopupLooks AppReminderPresenter::Looks() const {
  CVeskCalView* view = ctx_.view;
  if (view == nullptr) return {};
  return {.owner = view, .mainFont = view->mainFont(), .colors = &view->colors()};
}

void AppReminderPresenter::ShowReminder(const ReminderNotice& notice) {
  std::string body = notice.text;
  if (notice.hour == -1) {
    body = notice.text.empty() ? std::string(kTimerExpiredBody)
                               : std::string(kTimerExpiredBody) + ": " + notice.text;
  }
  Open(ContentOf(notice), std::move(body), notice.entry);
}

void AppReminderPresenter::ShowMissed(const std::vector<ReminderNotice>& missed) {
  ReminderContent content = MissedContent(missed, ctx_.options.a24hour != 0);
  std::string body = Joined(content.lines);
  Open(std::move(content), std::move(body), 0);
}

void AppReminderPresenter::Open(ReminderContent content, std::string body, std::uint64_t entry) {
  DesktopNotification notification{content.caption, std::move(body), {}};
  if (entry != 0) {
    notification.actions = {{std::string(kDefaultNotificationAction), std::string(kOpenLabel)},
                            {std::string(kSnoozeAction), std::string(kSnoozeLabel)}};
  }
  ReminderWnd* popup = vesk::ShowReminder(ctx_, Looks(), std::move(content));
  if (ctx_.notifier == nullptr || ctx_.options.notifications == 0) return;

  // Pairs whose pop-up has closed have withdrawn their notification.
  std::erase_if(links_, [](const auto& link) { return link.second.popup.get() == nullptr; });
  const int id = ctx_.notifier->Notify(notification);
  if (id == 0 || popup == nullptr) return;
  popup->SetNotification(ctx_.notifier, id);
  links_[id] = {popup->Ref(), entry};
}

std::uint64_t AppReminderPresenter::Unlink(int id) {
  auto it = links_.find(id);
  if (it == links_.end()) return 0;
  const Link link = it->second;
  links_.erase(it);
  if (Window* popup = link.popup.get()) popup->Destroy();
  return link.entry;
}

void AppReminderPresenter::OnNotificationAction(int id, std::string_view key) {
  const std::uint64_t serial = Unlink(id);
  CPlannerEntry* entry = serial != 0 ? ctx_.entries.FindBySerial(serial) : nullptr;
  if (entry == nullptr) return;
  if (key == kSnoozeAction) {
    if (ctx_.armer != nullptr) ctx_.armer->Snooze(*entry, kSnoozeMinutes);
  } else if (key == kDefaultNotificationAction && ctx_.view != nullptr) {
    ctx_.view->OpenDayPlanner(entry->year(), entry->month(), entry->day());
  }
}

void AppReminderPresenter::OnNotificationDismissed(int id) { Unlink(id); }

}  // namespace vesk
