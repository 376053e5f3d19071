#include "views/month_view.h"

#include <utility>

#include "calendar/local_time.h"
#include "platform/ui.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/main_window.h"
#include "store/options_store.h"
#include "store/printer_store.h"
#include "store/repeat_rules.h"
#include "store/sounds.h"
#include "views/calendar_windows.h"
#include "views/day_popup.h"
#include "views/month_drawing.h"
#include "views/month_purge.h"
#include "views/print_job.h"
#include "views/view_fonts.h"

namespace vesk {

namespace {

constexpr int kCalendarColumns = 7;
constexpr int kCalendarRows = 8;  // title, headings and up to six weeks
// The palette realised on displays of at most this many colours.
constexpr int kPaletteDisplayColors = 20;

}  // namespace

CVeskCalView::CVeskCalView(AppContext& ctx) : Window(*ctx.ui), ctx_(ctx) {
  ctx_.view = this;
  ctx_.views = this;
}

CVeskCalView::~CVeskCalView() {
  // The popup paints with this view's colours, so it goes first.
  vesk::CloseDayPopup(ctx_);
  if (ctx_.view == this) ctx_.view = nullptr;
  if (ctx_.views == this) ctx_.views = nullptr;
}

void CVeskCalView::Initialize() {
  if (std::optional<FontBytes> stored = ctx_.store.LoadFont("font")) {
    mainFont_ = ui().CreateFont(FontRecord::FromBytes(*stored));
  }
  if (mainFont_ == nullptr) mainFont_ = ui().CreateFont(FontRecord::DefaultMain());
  RebuildDerivedFonts();
  const DateTime today = BreakLocalTime(ctx_.clock.Now());
  year_ = today.year;
  month_ = today.month;
  LoadOptions(ctx_.store, ctx_.options);
  // Month keys written another way are moved where they are read from.
  ctx_.store.TidyMonthKeys();
  // The month on screen and the reminders due soon; other months are read
  // when something asks about them.
  ctx_.entries.RereadMonths();
  ctx_.entries.EnsureMonth(year_, month_);
  ctx_.entries.EnsureDueSoon();
  ExtendSeries(ctx_.entries, year_, month_);
}

FontRecord CVeskCalView::MainFontRecord() const {
  return mainFont_ != nullptr ? mainFont_->record() : FontRecord::DefaultMain();
}

void CVeskCalView::RebuildDerivedFonts() {
  const FontRecord main = MainFontRecord();
  headingFont_ = ui().CreateFont(HeadingFontRecord(main));
  titleFont_ = ui().CreateFont(TitleFontRecord(main));
}

const Font* CVeskCalView::headingFont() const {
  return headingFont_ != nullptr ? headingFont_.get() : mainFont_.get();
}

const Font* CVeskCalView::titleFont() const {
  return titleFont_ != nullptr ? titleFont_.get() : mainFont_.get();
}

Size CVeskCalView::GetCalendarSize() {
  if (!IsCreated()) return {};
  std::unique_ptr<Canvas> canvas = native()->ClientCanvas();
  return GetCalendarSize(*canvas);
}

Size CVeskCalView::GetCalendarSize(Canvas& canvas) {
  const Font* old = canvas.SelectFont(mainFont_.get());
  cell_ = MeasureCell(canvas, mainFont_.get());
  canvas.SelectFont(old);
  return {kCalendarColumns * cell_.cx, kCalendarRows * cell_.cy};
}

void CVeskCalView::RepaintIfShowing(int year, int month) {
  if (year == year_ && month == month_) Invalidate(false);
}

void CVeskCalView::ShowCurrentMonth() {
  const DateTime today = BreakLocalTime(ctx_.clock.Now());
  year_ = today.year;
  month_ = today.month;
  Invalidate();
}

void CVeskCalView::StepMonth(int delta) {
  const ShownMonth shown = StepShownMonth({year_, month_}, delta);
  year_ = shown.year;
  month_ = shown.month;
  Invalidate();
}

void CVeskCalView::StepYear(int delta) {
  const int year = year_ + delta;
  if (year < kFirstYear || year > kLastYear) return;
  year_ = year;
  Invalidate();
}

void CVeskCalView::PlayClick() { PlayClickSound(ctx_); }

void CVeskCalView::OpenDayPlanner(int year, int month, int day) {
  if (ctx_.windows == nullptr || !ctx_.windows->Available(CalendarWindow::DayPlanner)) return;
  PlayClick();
  ctx_.windows->OpenDayPlanner(year, month, day);
}

void CVeskCalView::OpenTodayPlanner() {
  const DateTime today = BreakLocalTime(ctx_.clock.Now());
  OpenDayPlanner(today.year, today.month, today.day);
}

void CVeskCalView::OpenToDoList() {
  if (ctx_.windows == nullptr || !ctx_.windows->Available(CalendarWindow::ToDoList)) return;
  PlayClick();
  ctx_.windows->OpenToDoList();
}

void CVeskCalView::ShowDayPopupIfChanged(int year, int month, int day, const Rect& anchor,
                                         bool tinted) {
  // The year is not compared: the callers only ever show one year at a time.
  if (popupDay_ == day && popupMonth_ == month) return;
  CloseDayPopup();
  // The popup follows the time order from the date's first entry, so an edit
  // made since the last paint (or on a month not on display) must not leave
  // the list out of order: a later entry found first would hide the others.
  ctx_.entries.SortByTime();
  if (const CPlannerEntry* first = ctx_.entries.FindOnDay(year, month, day, false)) {
    ShowDayPopup(ctx_, colors_, MainFontRecord(), *first, {year, month, day, anchor, tinted});
  }
  popupMonth_ = month;
  popupDay_ = day;
}

void CVeskCalView::ForgetPopupDate() {
  popupDay_ = -1;
  popupMonth_ = -1;
}

void CVeskCalView::CloseDayPopup() { vesk::CloseDayPopup(ctx_); }

int CVeskCalView::DayPopupLifetime() const { return vesk::DayPopupLifetime(ctx_); }

void CVeskCalView::LoadColors() { colors_ = vesk::LoadColors(ctx_.store); }

void CVeskCalView::SaveColors() { vesk::SaveColors(ctx_.store, colors_); }

int CVeskCalView::RealizeViewPalette(Canvas& canvas) {
  const int deviceColors = canvas.ColorCount();
  if (deviceColors > kPaletteDisplayColors) return deviceColors;
  // The layer maps colours itself; the palette is kept for the life of the view.
  if (!palette_) palette_ = PaletteEntries(colors_);
  return static_cast<int>(palette_->size());
}

bool CVeskCalView::ChooseMainFont() {
  if (IsCreated()) native()->Enable(false);
  std::unique_ptr<Font> chosen = ChooseFontFrom(ui(), mainFont_.get());
  if (IsCreated()) native()->Enable(true);
  if (chosen == nullptr) return false;
  mainFont_ = std::move(chosen);
  RebuildDerivedFonts();
  ctx_.store.SaveFont("font", mainFont_->record().ToBytes());
  Invalidate();
  return true;
}

void CVeskCalView::BeginPrintFrom(Window& source, Printable& pages, PrintKind kind) {
  const PrinterSettings before = ui().Printer();
  RunPrintJob(ui(), ctx_.messages, source, pages, kind);
  // A printer or paper chosen in the print dialog is where the next run starts.
  if (const PrinterSettings after = ui().Printer(); after != before) SavePrinter(ctx_.store, after);
}

void CVeskCalView::Shutdown() {
  if (ctx_.windows != nullptr) ctx_.windows->CloseAllDayPlanners();
  if (ctx_.storeDamaged) return;
  // The automatic backup written next holds the purged months too: their
  // entries are read into memory before their keys go.
  const std::int64_t now = ctx_.clock.Now();
  for (const YearMonth& ym : MonthsToPurge(now, ctx_.options.age))
    ctx_.entries.EnsureMonth(ym.year, ym.month);
  PurgeOldMonths(ctx_.store, now, ctx_.options.age);
}

MonthLayout CVeskCalView::layout() const {
  return LayoutMonth(year_, month_, ctx_.options.europe != 0, cell_);
}

bool CVeskCalView::InClient(Point p) const {
  const Rect client = ClientRect();
  return p.x >= client.left && p.x < client.right && p.y >= client.top && p.y < client.bottom;
}

void CVeskCalView::DrawHighlight(bool sunken) {
  if (!highlight_ || !IsCreated()) return;
  std::unique_ptr<Canvas> canvas = native()->ClientCanvas();
  DrawCellFrame(*canvas, colors_, *highlight_, sunken);
}

void CVeskCalView::HideMainFrame() {
  if (ctx_.mainWindow != nullptr) ctx_.mainWindow->Hide();
}

void CVeskCalView::OnPaint(Canvas& canvas) {
  if (!colorsLoaded_) {
    colors_ = YellowScheme();
    LoadColors();
    colorsLoaded_ = true;
  }
  ctx_.entries.SortByTime();
  const DateTime today = BreakLocalTime(ctx_.clock.Now());
  const MonthPicture picture{.year = year_,
                             .month = month_,
                             .europe = ctx_.options.europe != 0,
                             .todayYear = today.year,
                             .todayMonth = today.month,
                             .todayDay = today.day};
  cell_ = DrawMonth(canvas, colors_, {mainFont_.get(), headingFont(), titleFont()}, picture,
                    ctx_.entries)
              .cell;
}

void CVeskCalView::OnMouseMove(Point p) {
  native()->SetCapture();
  if (!InClient(p)) {
    CloseDayPopup();
    ForgetPopupDate();
    native()->ReleaseCapture();
  }
  const MonthLayout cells = layout();
  if (cells.previous.ContainsInclusive(p) || cells.next.ContainsInclusive(p)) {
    highlight_ = cells.previous.ContainsInclusive(p) ? cells.previous : cells.next;
    DrawHighlight(true);
    return;
  }
  const int day = cells.HoverDayAt(p);
  if ((day != hoveredDay_ || day == 0) && highlight_) {
    DrawHighlight(false);
    highlight_.reset();
    hoveredDay_ = day;
    CloseDayPopup();
    ForgetPopupDate();
  }
  if (day == 0) return;
  if (!highlight_) {
    highlight_ = cells.days[day];
    DrawHighlight(true);
    hoveredDay_ = day;
  }
  const Rect anchor = parent() != nullptr ? parent()->WindowRect() : WindowRect();
  ShowDayPopupIfChanged(year_, month_, day, anchor, false);
}

void CVeskCalView::OnLButtonDown(Point p) {
  const MonthLayout cells = layout();
  bool handled = false;
  if (cells.previous.ContainsInclusive(p) || cells.next.ContainsInclusive(p)) {
    const bool previous = cells.previous.ContainsInclusive(p);
    highlight_ = previous ? cells.previous : cells.next;
    PlayClick();
    StepMonth(previous ? -1 : 1);
    DrawHighlight(false);
    handled = true;
  } else if (cells.title.ContainsInclusive(p)) {
    // The main frame's Year command: the year view of the current year.
    if (ctx_.windows != nullptr && ctx_.windows->Available(CalendarWindow::YearView)) {
      PlayClick();
      ctx_.windows->OpenYearWindow();
    }
    handled = true;
  }
  if (const int day = cells.DayAt(p); day != 0) {
    highlight_ = cells.days[day];
    DrawHighlight(false);
    CloseDayPopup();
    native()->ReleaseCapture();
    OpenDayPlanner(year_, month_, day);
  } else if (!handled && InClient(p)) {
    OpenToDoList();
    native()->ReleaseCapture();
  }
}

void CVeskCalView::OnLButtonUp(Point) {
  if (!highlight_) return;
  DrawHighlight(true);
  highlight_.reset();
}

void CVeskCalView::OnRButtonDown(Point p) {
  const MonthLayout cells = layout();
  bool stepped = false;
  if (cells.previous.ContainsInclusive(p)) {
    StepYear(-1);
    stepped = true;
  } else if (cells.next.ContainsInclusive(p)) {
    StepYear(1);
    stepped = true;
  }
  if (cells.title.ContainsInclusive(p)) {
    ShowCurrentMonth();
    PlayClick();
    return;
  }
  if (stepped) {
    PlayClick();
    return;
  }
  // Between dates there is no day, and no week view opens.
  const int day = cells.DayAt(p);
  if (day != 0 && ctx_.windows != nullptr && ctx_.windows->Available(CalendarWindow::WeekView)) {
    ctx_.windows->OpenWeekWindow(0, year_, month_, day);
  }
  native()->ReleaseCapture();
  CloseDayPopup();
}

bool CVeskCalView::OnKeyDown(int vk) {
  switch (vk) {
    case kVkReturn:
      OpenTodayPlanner();
      break;
    case kVkEscape:
      PlayClick();
      CloseDayPopup();
      HideMainFrame();
      break;
    case kVkPrior:
    case kVkRight:
      StepMonth(1);
      break;
    case kVkNext:
    case kVkLeft:
      StepMonth(-1);
      break;
    case kVkHome:
      ShowCurrentMonth();
      break;
    case kVkUp:
      StepYear(1);
      break;
    case kVkDown:
      StepYear(-1);
      break;
    default:
      break;
  }
  return false;  // the default key handling follows every key
}

bool CVeskCalView::OnCommand(int id) {
  switch (id) {
    case res::kIdToday:
      OpenTodayPlanner();
      return true;
    case res::kIdToDoList:
      OpenToDoList();
      return true;
    default:
      return false;
  }
}

void CVeskCalView::OnUpdateCommand(int id, CommandState& state) {
  if (id == res::kIdToday || id == res::kIdToDoList) {
    const CalendarWindow kind =
        id == res::kIdToday ? CalendarWindow::DayPlanner : CalendarWindow::ToDoList;
    state.enabled = ctx_.windows != nullptr && ctx_.windows->Available(kind);
  }
}

}  // namespace vesk
