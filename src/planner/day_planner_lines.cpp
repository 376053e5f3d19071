// Moving the edit control between lines and storing what was typed.
#include <algorithm>
#include <string>

#include "planner/day_planner.h"
#include "planner/entry_edit.h"
#include "platform/ui.h"
#include "store/app_context.h"
#include "store/entry_list.h"
#include "store/main_window.h"
#include "store/repeat_rules.h"

namespace vesk {

namespace {

constexpr int kEditInset = 2;  // the control sits this far below the line's top
constexpr int kEditNarrower = 12;
constexpr LocalTime kContinuedUntilStep = 1800;

bool IsDittoMark(std::string_view text) { return text == "\"" || text == "'"; }

}  // namespace

CPlannerEntry* AppointBook2::EditorEntry() const {
  if (editor_ == nullptr || editor_->entry == nullptr) return nullptr;
  CPlannerEntry* e = ctx_.entries.FindBySerial(linkedSerial_);
  if (e == nullptr) editor_->entry = nullptr;
  return e;
}

void AppointBook2::LinkEntry(CPlannerEntry* entry) {
  linkedSerial_ = entry != nullptr ? entry->serial() : 0;
  if (editor_ != nullptr) editor_->entry = entry;
}

void AppointBook2::DestroyEditor() {
  // A message box of the commit (the repeat question) may let another
  // request in; the editor being destroyed is left to finish.
  if (editor_ == nullptr || destroyingEditor_) return;
  destroyingEditor_ = true;
  editor_->Destroy();  // runs CommitLine through the control's OnDestroy
  editor_.reset();
  destroyingEditor_ = false;
}

void AppointBook2::FocusEditor() {
  if (editor_ == nullptr) return;
  // The focus moves once the current message has been handled.
  ui().Post([ref = editor_->Ref()] {
    if (auto* edit = static_cast<CEntryEdit*>(ref.get())) edit->SetFocus();
  });
}

void AppointBook2::EntriesChanged() {
  if (ctx_.mainWindow != nullptr) ctx_.mainWindow->RefreshTrayTip();
}

void AppointBook2::OpenLineEditor(int row, bool onHour) {
  if (!IsCreated() || destroyingEditor_) return;
  DestroyEditor();
  if (!IsCreated()) return;
  selRow_ = row;
  selOnHour_ = onHour;
  const Rect line = onHour ? HourLine(metrics_, row, 0) : HalfLine(metrics_, row, 0);
  const Rect place = Rect::FromSize(line.left, line.top + kEditInset, line.Width() - kEditNarrower,
                                    line.Height() - kEditInset);
  auto edit = std::make_unique<CEntryEdit>(ui());
  edit->planner = this;
  if (!edit->CreateFor(*this, place, true)) return;
  edit->SetFont(font_.get());
  editor_ = std::move(edit);
  CPlannerEntry* e = ctx_.entries.FindAt(year, month, day, firstHour_ + row, onHour ? 0 : 30);
  editText_ = e != nullptr ? e->notes : std::string();
  LinkEntry(e);
  editor_->SetText(editText_);
  editor_->Place(place);
  editor_->ShowOnTop();
  FocusEditor();
}

bool AppointBook2::IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string::npos;
}

void AppointBook2::CommitLine() {
  if (selRow_ < 0) return;
  const int hour = firstHour_ + selRow_;
  const int minute = selOnHour_ ? 0 : 30;
  CPlannerEntry* e = ctx_.entries.FindAt(year, month, day, hour, minute);
  if (IsBlank(editText_)) editText_.clear();
  const std::string text = editText_;

  if (!text.empty() && e != nullptr) {
    // A quote typed over an existing entry is its new text: the ditto rule
    // is for new entries only.
    if (e->notes != text) {
      e->UpdateNotes(text);
      EntriesChanged();
    }
    return;
  }
  if (!text.empty()) {
    Registry::Transaction tx(ctx_.registry);
    CPlannerEntry& created = ctx_.entries.Create();
    LinkEntry(&created);
    const bool ditto = IsDittoMark(text);
    // A continuation line raises no reminder of its own; it is stored so from
    // its first save, whether or not it finds an entry to continue. The early
    // of -1 passes to the copies of a series, which would otherwise ring at
    // every later occurrence of the line.
    if (ditto) {
      created.reminder = 0;
      created.early = -1;
    }
    created.SetSlot(year, month, day, hour, minute, text);
    created.Schedule(true);
    if (ditto) ContinuePrevious(created);
    tx.Commit();
    EntriesChanged();
    return;
  }
  if (e == nullptr) return;
  if (editor_ != nullptr && editor_->entry == e) LinkEntry(nullptr);
  const bool repeating = e->repeats != 0;
  int removed = 0;
  ctx_.entries.DeleteEntry(*e, true, &removed);
  if (repeating || removed > 1) Invalidate(false);
  EntriesChanged();
}

void AppointBook2::ContinuePrevious(CPlannerEntry& entry) {
  const CPlannerEntry* p = ctx_.entries.PreviousEntry(entry);
  // Only an entry of the same date, in the same or the hour before, is
  // continued; an appointment of another day is not this line's.
  if (p == nullptr || (p->hour() != entry.hour() && p->hour() != entry.hour() - 1) ||
      p->year() != entry.year() || p->month() != entry.month() || p->day() != entry.day()) {
    return;
  }
  std::string text = p->notes;
  if (text.find("continued") == std::string::npos) text += " (continued)";
  entry.notes = text;
  editText_ = text;
  // A line still being edited shows what it now holds.
  if (editor_ != nullptr && !destroyingEditor_) editor_->SetText(text);
  entry.nthday = p->nthday;
  entry.sday = p->sday;
  entry.nthweek = p->nthweek;
  entry.repeats = p->repeats;
  entry.until = p->until + kContinuedUntilStep;
  entry.Schedule(true);
  if (entry.repeats != 0) {
    ExpandSeries(entry);
    ctx_.entries.SortByTime();
    Invalidate(false);
  }
}

void AppointBook2::NextLine() {
  if (selRow_ < 0) return;
  if (selOnHour_) {
    OpenLineEditor(selRow_, false);
  } else if (selRow_ == kPlannerVisibleRows - 1) {
    if (firstHour_ < kLastFirstHour) {
      ScrollHours(kSbLineDown);
      OpenLineEditor(kPlannerVisibleRows - 1, true);
    }
  } else {
    OpenLineEditor(selRow_ + 1, true);
  }
}

void AppointBook2::PreviousLine() {
  if (selRow_ < 0) return;
  if (!selOnHour_) {
    OpenLineEditor(selRow_, true);
  } else if (selRow_ == 0) {
    if (firstHour_ > 0) {
      ScrollHours(kSbLineUp);
      OpenLineEditor(0, false);
    }
  } else {
    OpenLineEditor(selRow_ - 1, false);
  }
}

void AppointBook2::ScrollHours(int code, int pos) {
  const bool hadEditor = editor_ != nullptr;
  DestroyEditor();
  if (!IsCreated()) return;
  int first = firstHour_;
  const int rowsHeight = 2 * metrics_.lineHeight;
  switch (code) {
    case kSbLineUp:
      if (first > 0) {
        --first;
        native()->ScrollClient(rowsHeight);
      }
      break;
    case kSbLineDown:
      if (first < kLastFirstHour) {
        ++first;
        native()->ScrollClient(-rowsHeight);
      }
      break;
    case kSbPageUp:
      first = first <= 12 ? 0 : kDefaultFirstHour;
      break;
    case kSbPageDown:
      first = first >= kDefaultFirstHour ? kLastFirstHour : kDefaultFirstHour;
      break;
    case kSbThumbPosition:
      first = std::clamp(pos - 1, 0, kLastFirstHour);
      break;
    default:
      break;  // thumb tracking among them: the rows move when the thumb is released
  }
  if (first != firstHour_) {
    firstHour_ = first;
    native()->SetScrollPos(firstHour_ + 1, true);
    Invalidate(false);
  } else if (hadEditor) {
    // The line left is repainted, and the repaint selects the top line.
    Invalidate(false);
  }
}

}  // namespace vesk
