#include "reminders/reminder_wnd.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/notifier.h"
#include "platform/ui.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/sounds.h"

namespace vesk {

namespace {

constexpr std::string_view kPopupFontName = "font2";
constexpr int kMinWindowWidth = 250;
constexpr int kTextMargin = 20;
constexpr int kFrameWidth = 10;
constexpr int kExtraHeight = 77;
constexpr int kCascadeStep = 25;
constexpr int kCascadeLeft = 50;
constexpr int kCascadeTop = 70;
constexpr int kLastCascadeTop = 300;
// Wide enough for any text the window shows.
constexpr int kFillSize = 1600;
constexpr Point kHeaderAt{1, 10};
constexpr int kTextTop = 14;

}  // namespace

int ReminderWindowWidth(int textWidth) {
  return std::max(textWidth + kTextMargin, kMinWindowWidth);
}

Rect PlaceReminderPopup(Point& cascade, int textWidth, int lineHeight, int lineCount, Size screen) {
  const int outerWidth = ReminderWindowWidth(textWidth) + kFrameWidth;
  if (cascade.x + outerWidth > screen.cx) cascade.x = kCascadeLeft;
  if (cascade.y > kLastCascadeTop) cascade.y = kCascadeTop;
  // The header line and the text lines, and the frame around them.
  const Rect outer =
      Rect::FromSize(cascade.x, cascade.y, outerWidth, (lineCount + 1) * lineHeight + kExtraHeight);
  cascade.x += kCascadeStep;
  cascade.y += kCascadeStep;
  return outer;
}

ReminderWnd::ReminderWnd(AppContext& ctx, ReminderContent content, const PopupLooks& looks)
    : Window(*ctx.ui), ctx_(ctx), content_(std::move(content)), looks_(looks) {
  if (content_.lines.empty()) content_.lines.emplace_back();
}

void ReminderWnd::ChooseFont() {
  if (std::optional<FontBytes> stored = ctx_.store.LoadFont(kPopupFontName)) {
    font_ = ui().CreateFont(FontRecord::FromBytes(*stored));
  }
  if (font_ == nullptr && looks_.mainFont != nullptr) {
    font_ = ui().CreateFont(looks_.mainFont->record());
  }
}

void ReminderWnd::Measure() {
  std::unique_ptr<Canvas> canvas = native()->ClientCanvas();
  canvas->SelectFont(font_.get());
  textWidth_ = 0;
  lineHeight_ = canvas->TextExtent(content_.header).cy;
  for (const std::string& line : content_.lines) {
    const Size extent = canvas->TextExtent(line);
    textWidth_ = std::max(textWidth_, extent.cx);
    lineHeight_ = std::max(lineHeight_, extent.cy);
  }
}

bool ReminderWnd::Present() {
  WindowSpec spec;
  spec.title = content_.caption;
  spec.style = {.caption = true, .systemMenu = true, .independent = true};
  spec.owner = looks_.owner;
  spec.rect = {1, 1, 1, 1};
  if (!Create(spec)) return false;
  ChooseFont();
  Measure();
  const Rect outer = PlaceReminderPopup(ctx_.reminderCascade, textWidth_, lineHeight_,
                                        static_cast<int>(content_.lines.size()), ui().ScreenSize());
  native()->SetWindowRect(outer);
  native()->SetTopmost(true);
  native()->Show(true);
  native()->SetIcon(res::kIconReminder);
  return true;
}

void ReminderWnd::SetNotification(Notifier* notifier, int id) {
  notifier_ = notifier;
  notification_ = id;
}

void ReminderWnd::OnPaint(Canvas& canvas) {
  PlayReminderSound(ctx_);
  canvas.SelectFont(font_.get());
  const bool evenHour = content_.hour >= 0 && content_.hour % 2 == 0;
  const Rect client = ClientRect();
  // Black on white until a month view lends its colours.
  static constexpr ColorSet kPlain{
      .fore = Rgb(0, 0, 0), .dayplan1 = Rgb(255, 255, 255), .dayplan2 = Rgb(255, 255, 255)};
  const ColorSet& colors = looks_.colors != nullptr ? *looks_.colors : kPlain;
  canvas.FillSolidRect(
      {0, 0, std::max(kFillSize, client.right), std::max(kFillSize, client.bottom)},
      evenHour ? colors.dayplan1 : colors.dayplan2);
  canvas.SetTextColor(colors.fore);
  canvas.TextOut(kHeaderAt.x, kHeaderAt.y, content_.header);
  const int x = (windowWidth() - textWidth_) / 2;
  int y = lineHeight_ + kTextTop;
  for (const std::string& line : content_.lines) {
    canvas.TextOut(x, y, line);
    y += lineHeight_;
  }
}

bool ReminderWnd::OnKeyDown(int vk) {
  if (vk == kVkEscape) PostClose();
  return false;
}

void ReminderWnd::OnDestroy() {
  if (notifier_ != nullptr && notification_ != 0) notifier_->Close(notification_);
  notification_ = 0;
}

ReminderWnd* ShowReminder(AppContext& ctx, const PopupLooks& looks, ReminderContent content) {
  if (ctx.ui == nullptr) return nullptr;
  auto& popup = static_cast<ReminderWnd&>(
      ctx.ui->Adopt(std::make_unique<ReminderWnd>(ctx, std::move(content), looks)));
  if (!popup.Present()) {
    popup.Destroy();  // releases the object
    return nullptr;
  }
  return &popup;
}

}  // namespace vesk
