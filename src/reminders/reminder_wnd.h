#pragma once
// The reminder pop-up: a small always-on-top window that announces a due
// reminder or an expired countdown with a header line and the text on a
// coloured background, and plays the reminder sound each time it is painted.
// Each announcement gets a window of its own; they cascade down and to the
// right, none is modal, and a dialog of the owner does not hold them back.
// Esc or the close box closes one; its object is released with its window.
#include <memory>
#include <string_view>

#include "platform/font.h"
#include "platform/types.h"
#include "platform/window.h"
#include "reminders/reminder_content.h"
#include "views/color_set.h"

namespace vesk {

struct AppContext;
class Notifier;

inline constexpr std::string_view kReminderWndClass = "ReminderWnd";

// What the pop-up takes from the month view, which owns it and outlives it.
struct PopupLooks {
  Window* owner = nullptr;
  const Font* mainFont = nullptr;    // copied: the main font may change while a pop-up is open
  const ColorSet* colors = nullptr;  // read at every paint (dayplan1, dayplan2, fore)
};

// The outer rectangle of a pop-up whose text is textWidth wide in lineCount
// lines of lineHeight, placed at the cascade position, which then moves on by
// 25 right and down. The left returns to 50 when the window would leave the
// screen's width, the top to 70 once it is past 300.
Rect PlaceReminderPopup(Point& cascade, int textWidth, int lineHeight, int lineCount, Size screen);
// The width the text is centred in: text width + 20, at least 250.
int ReminderWindowWidth(int textWidth);

class ReminderWnd : public Window {
 public:
  ReminderWnd(AppContext& ctx, ReminderContent content, const PopupLooks& looks);

  std::string_view RuntimeClass() const override { return kReminderWndClass; }

  // Creates the window owned by looks.owner, chooses the font ("font2", else
  // the main font, else the window's default), measures the text, places the
  // window topmost at the cascade position and shows it with icon 168. False
  // when no window could be made.
  bool Present();
  // The desktop notification sent with the pop-up: withdrawn when it closes.
  void SetNotification(Notifier* notifier, int id);

  void OnPaint(Canvas& canvas) override;
  bool OnKeyDown(int vk) override;
  void OnDestroy() override;

  const ReminderContent& content() const { return content_; }
  const Font* font() const { return font_.get(); }
  int textWidth() const { return textWidth_; }
  int textHeight() const { return lineHeight_ * static_cast<int>(content_.lines.size()); }
  int windowWidth() const { return ReminderWindowWidth(textWidth_); }
  int notification() const { return notification_; }

 private:
  void ChooseFont();
  void Measure();

  AppContext& ctx_;
  ReminderContent content_;
  PopupLooks looks_;
  std::unique_ptr<Font> font_;
  int textWidth_ = 0;
  int lineHeight_ = 0;
  Notifier* notifier_ = nullptr;
  int notification_ = 0;
};

// Opens a new pop-up (ShowReminder); the Ui keeps it until its window is
// destroyed. Null when no window could be made.
ReminderWnd* ShowReminder(AppContext& ctx, const PopupLooks& looks, ReminderContent content);

}  // namespace vesk
