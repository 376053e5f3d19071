// The to-do window: loading, creation and placement, the line editor, moving
// between lines, and storing each line as it is left.
#include "planner/todo.h"

#include <utility>

#include "planner/entry_edit.h"
#include "platform/ui.h"
#include "res/command_ids.h"
#include "res/todo_resources.h"
#include "store/app_context.h"
#include "store/main_window.h"
#include "views/month_view.h"

namespace vesk {

namespace {

constexpr std::string_view kPositionKey = "todoposition";
// The frame takes this much more than the client area's height, as the
// main frame measures its own border.
constexpr int kBorderSlack = 4;
// The editor sits this far below its line's top and is this much lower.
constexpr int kEditorInset = 2;

}  // namespace

ToDo::ToDo(AppContext& ctx) : Window(*ctx.ui), ctx_(ctx) {
  ctx_.todo = this;
  for (int n = 0; n < kToDoLineCount; ++n) lines_[n] = ctx_.store.LoadToDoLine(n);
}

ToDo::~ToDo() {
  if (ctx_.todo == this) ctx_.todo = nullptr;
}

int ToDo::BorderHeight() const {
  if (ctx_.mainWindow != nullptr && ctx_.mainWindow->borderHeight() > 0) {
    return ctx_.mainWindow->borderHeight();
  }
  // Without a placed main frame, this window's own frame serves the same purpose.
  return WindowRect().Height() - ClientRect().Height() + kBorderSlack;
}

bool ToDo::CreateToDo() {
  CVeskCalView* view = ctx_.view;
  if (view == nullptr || !view->IsCreated()) {
    if (ctx_.todo == this) ctx_.todo = nullptr;
    return false;
  }
  if (std::optional<FontBytes> stored = ctx_.store.LoadFont("font2")) {
    ownFont_ = ui().CreateFont(FontRecord::FromBytes(*stored));
  }
  // A copy of the main font, not the font itself: the month view replaces
  // that one when the user picks another main font while the list is open.
  if (ownFont_ == nullptr && view->mainFont() != nullptr) {
    ownFont_ = ui().CreateFont(view->mainFont()->record());
  }
  font_ = ownFont_ != nullptr ? ownFont_.get() : view->mainFont();
  {
    std::unique_ptr<Canvas> measuring = view->native()->ClientCanvas();
    geometry_ = LayoutToDo(*measuring);
  }

  WindowSpec spec;
  spec.title = res::kToDoTitle;
  spec.style = {.caption = true, .systemMenu = true};
  spec.owner = view;
  placing_ = true;
  if (!Create(spec)) {
    placing_ = false;
    if (ctx_.todo == this) ctx_.todo = nullptr;
    return false;
  }
  const int border = BorderHeight();
  const Point at = ToDoPosition(ctx_.store.LoadWindowPos(kPositionKey), ui().ScreenSize().cy,
                                geometry_.lineHeight, border);
  const Size size = ToDoWindowSize(geometry_.textWidth, geometry_.lineHeight, border);
  native()->SetWindowRect(Rect::FromSize(at.x, at.y, size.cx, size.cy));
  native()->BringToTop();
  native()->Show(true);
  placing_ = false;
  native()->SetIcon(res::kIconToDo);

  current_ = 0;
  OpenItemEditor(0);
  return true;
}

void ToDo::DestroyEditor() {
  if (editor_ == nullptr) return;
  // Its focus loss, if it had the focus, stores its line while editorLine_
  // still names that line.
  editor_->Destroy();
  editor_ = nullptr;
  editorLine_ = -1;
}

void ToDo::OpenItemEditor(int n) {
  DestroyEditor();
  auto made = std::make_unique<CEntryEdit>(ui());
  auto& edit = static_cast<CEntryEdit&>(ui().Adopt(std::move(made)));
  edit.todoList = this;
  const Rect& line = geometry_.lines[n];
  const Rect at = Rect::FromSize(line.left, line.top + kEditorInset, line.Width(),
                                 geometry_.lineHeight - kEditorInset);
  if (!edit.CreateFor(*this, at, false)) {
    edit.Destroy();  // releases the adopted object
    return;
  }
  editor_ = &edit;
  editorLine_ = n;
  editorSaved_ = false;
  edit.SetFont(font_);
  // A backend that reports no change for a text set by the program still
  // leaves editText matching what the editor shows.
  editText_ = lines_[n];
  edit.SetText(lines_[n]);
  edit.ShowOnTop();
  ui().Post([ref = edit.Ref()] {
    if (Window* w = ref.get()) static_cast<CEntryEdit*>(w)->SetFocus();
  });
}

void ToDo::SaveCurrentItem() {
  // The text belongs to the line the editor was opened on, whatever `current`
  // says at the moment the focus loss arrives.
  if (current_ < 0 || editorLine_ < 0) return;
  if (editorSaved_ && lines_[editorLine_] == editText_) return;
  lines_[editorLine_] = editText_;
  ctx_.store.SaveToDoLine(editorLine_, editText_);
  editorSaved_ = true;
}

void ToDo::MoveTo(int n) {
  // Stored here as well as on the focus loss: a toolkit may report the loss
  // late, or not at all when the focus was already elsewhere.
  SaveCurrentItem();
  OpenItemEditor(n);
  current_ = n;
}

void ToDo::NextLine() {
  if (current_ >= kToDoLineCount - 1) return;
  MoveTo(current_ + 1);
}

void ToDo::PreviousLine() {
  if (current_ <= 0) return;
  MoveTo(current_ - 1);
}

void ToDo::OnLButtonDown(Point p) {
  const int n = HitToDoLine(geometry_, p);
  if (n < 0) return;
  MoveTo(n);
}

bool ToDo::OnKeyDown(int vk) {
  if (vk == kVkEscape) PostClose();
  return false;
}

void ToDo::OnMove() {
  if (placing_ || !IsCreated()) return;
  const Rect outer = WindowRect();
  ctx_.store.SaveWindowPos(kPositionKey, outer.left, outer.top);
}

void ToDo::OnControlNotify(int controlId, int code) {
  if (controlId != res::kIdEntryEdit || editor_ == nullptr) return;
  if (code == kEnChange) {
    editText_ = editor_->Text();
  } else if (code == kEnKillFocus) {
    SaveCurrentItem();
  }
}

void ToDo::OnDestroy() {
  // Stored before anything goes, whether or not the toolkit reports the
  // editor's focus loss while this window still exists.
  SaveCurrentItem();
  DestroyEditor();
  current_ = -1;
  if (ctx_.todo == this) ctx_.todo = nullptr;
  if (ctx_.view != nullptr) ctx_.view->Invalidate();
}

}  // namespace vesk
