// The to-do window's life: first opening and placement, a second request,
// remembered positions, closing, and the lines read back by a later run.
#include <gtest/gtest.h>

#include "planner/entry_edit.h"
#include "planner/todo_fixture.h"
#include "planner/todo_open.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/registry_store.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

constexpr std::string_view kPositionKey = "SOFTWARE\\Tolvard\\VeskCal\\todoposition";

TEST_F(ToDoTest, FirstOpeningSitsAtTheLeftEdgeFiftyPixelsAboveTheScreenBottom) {
  StartFrame();
  ASSERT_EQ(frame->borderHeight(), kFrameBorder);
  ToDo& list = Open();

  EXPECT_EQ(list.RuntimeClass(), "ToDo");
  EXPECT_EQ(list.Title(), "Things to do");
  EXPECT_EQ(record().icon, res::kIconToDo);
  EXPECT_EQ(list.owner(), &frame->view());
  EXPECT_FALSE(record().style.minimizeBox);
  EXPECT_FALSE(record().style.sizing);
  EXPECT_FALSE(record().style.vscroll);
  const Rect outer = list.WindowRect();
  const int height = kFrameBorder + 20 * kLineHeight;
  EXPECT_EQ(outer, Rect::FromSize(0, 768 - 50 - height, kLineWidth + 11, height));
  EXPECT_EQ(outer.bottom, 768 - 50);
  // The twin's frame with its menu leaves the twenty lines and a 4-pixel slack.
  EXPECT_EQ(list.ClientRect().Height(), 20 * kLineHeight + 4);

  for (int n = 0; n < 20; ++n) EXPECT_EQ(list.LineText(n), "") << n;
  EXPECT_EQ(list.current(), 0);
  EXPECT_EQ(editor().todoList, &list);
  EXPECT_EQ(editor().controlId(), res::kIdEntryEdit);
  EXPECT_EQ(HeadlessUi::Record(editor())->rect, Rect::FromSize(0, 2, kLineWidth, kLineHeight - 2));
  EXPECT_TRUE(editor().IsVisible());
  EXPECT_EQ(ui.Focus(), &editor());
  EXPECT_EQ(ui.ActiveWindow(), &list);
  // Placing the window is not a move by the user.
  EXPECT_FALSE(app.registry.QueryValue(kPositionKey, "top").has_value());
}

TEST_F(ToDoTest, ShowsTheStoredLinesAndTheDayPlannerFont) {
  Store(0, "call the plumber");
  Store(19, "last line");
  FontRecord font2 = FontRecord::DefaultMain();
  font2.faceName = "Arial";
  font2.height = -20;
  app.ctx.store.SaveFont("font2", font2.ToBytes());
  StartFrame();
  ToDo& list = Open();

  EXPECT_EQ(list.LineText(0), "call the plumber");
  EXPECT_EQ(list.LineText(19), "last line");
  EXPECT_EQ(editor().Text(), "call the plumber");
  EXPECT_EQ(list.editText(), "call the plumber");
  ASSERT_NE(list.font(), nullptr);
  EXPECT_EQ(list.font()->record(), font2);
  EXPECT_EQ(HeadlessUi::EditOf(editor())->font(), list.font());
  // -20: 10-pixel letters in a 23-pixel line.
  EXPECT_EQ(list.geometry().lineHeight, 27);
  EXPECT_EQ(list.geometry().textWidth, 704);
  EXPECT_EQ(list.WindowRect().Height(), kFrameBorder + 20 * 27);
}

TEST_F(ToDoTest, WithoutASecondFontUsesTheMainFont) {
  StartFrame();
  ToDo& list = Open();
  ASSERT_NE(list.font(), nullptr);
  EXPECT_EQ(list.font()->record(), frame->view().mainFont()->record());
  EXPECT_EQ(list.geometry().lineHeight, kLineHeight);
}

TEST_F(ToDoTest, ChangingTheMainFontWhileTheListIsOpenLeavesItsFontUsable) {
  StartFrame();
  ToDo& list = Open();
  Type("groceries");
  FontRecord bigger = FontRecord::DefaultMain();
  bigger.height = -20;
  ui.AnswerFont(bigger);
  ASSERT_TRUE(ui.Command(*frame, res::kIdFont));
  ui.Pump();
  ASSERT_NE(list.font(), nullptr);
  EXPECT_EQ(list.font()->record(), FontRecord::DefaultMain())
      << "the list keeps the font it opened with";
  ui.Paint(list);
  EXPECT_EQ(list.geometry().lineHeight, kLineHeight);
  ui.Click(list, LineCentre(3));
  EXPECT_EQ(HeadlessUi::EditOf(editor())->font()->record(), FontRecord::DefaultMain());
  EXPECT_EQ(Stored(0), "groceries");
}

TEST_F(ToDoTest, ASecondRequestBringsTheOpenWindowForward) {
  StartFrame();
  ToDo& list = Open();
  ui.Activate(*frame);
  ASSERT_NE(ui.ActiveWindow(), &list);
  OpenToDoList(app.ctx);
  ui.Pump();
  EXPECT_EQ(todo(), &list);
  EXPECT_EQ(ui.ActiveWindow(), &list);
  int todoWindows = 0;
  for (Window* w : ui.Windows()) todoWindows += w->RuntimeClass() == "ToDo" ? 1 : 0;
  EXPECT_EQ(todoWindows, 1);
  EXPECT_EQ(ui.Focus(), &editor());
}

TEST_F(ToDoTest, NeedsTheMonthView) {
  OpenToDoList(app.ctx);
  ui.Pump();
  EXPECT_EQ(todo(), nullptr);
}

TEST_F(ToDoTest, AMovedWindowReopensWhereItWasLeft) {
  StartFrame();
  ToDo& list = Open();
  const Rect moved = Rect::FromSize(120, 90, list.WindowRect().Width(), list.WindowRect().Height());
  ui.MoveWindow(list, moved);
  EXPECT_EQ(app.registry.QueryValue(kPositionKey, "left")->AsDword(), 120);
  EXPECT_EQ(app.registry.QueryValue(kPositionKey, "top")->AsDword(), 90);
  ASSERT_TRUE(ui.Command(list, res::kIdClose));
  ASSERT_EQ(todo(), nullptr);

  ToDo& again = Open();
  EXPECT_EQ(again.WindowRect(), moved);
}

TEST_F(ToDoTest, AStoredPositionAboveTheScreenComesDownToTheTop) {
  app.ctx.store.SaveWindowPos("todoposition", -30, -25);
  StartFrame();
  const Rect outer = Open().WindowRect();
  // Only the top is corrected; the left edge is used as stored.
  EXPECT_EQ((Point{outer.left, outer.top}), (Point{-30, 0}));
}

TEST_F(ToDoTest, ClosingClearsTheOpenWindowAndRepaintsTheMonthView) {
  StartFrame();
  ToDo& list = Open();
  ui.Paint(frame->view());
  WindowRecord& view = *HeadlessUi::Record(frame->view());
  ASSERT_FALSE(view.needsPaint);
  const WindowRef ref = list.Ref();
  ui.Close(list);
  EXPECT_EQ(ref.get(), nullptr);
  EXPECT_EQ(todo(), nullptr);
  EXPECT_TRUE(view.needsPaint);
}

TEST_F(ToDoTest, AlsoGoesWhenTheMonthViewGoes) {
  StartFrame();
  Open();
  Type("before the end");
  frame->view().Destroy();
  ui.Pump();
  EXPECT_EQ(todo(), nullptr);
  EXPECT_EQ(Stored(0), "before the end");
}

TEST_F(ToDoTest, ALaterRunReadsTheLinesBack) {
  StartFrame();
  Open();
  Type("first");
  ui.Key(*todo(), kVkReturn);
  Type("second");
  ui.Close(*todo());
  app.registry.CreateKey(std::string(kAppKey) + "\\ToDo\\5");
  app.registry.SetValue(std::string(kAppKey) + "\\ToDo\\5", "notes", RegValue::FromDword(7));

  TestApp later(app.registry);
  HeadlessUi laterUi{later.boxes};
  later.ctx.ui = &laterUi;
  ToDo fresh(later.ctx);
  EXPECT_EQ(later.ctx.todo, &fresh);
  EXPECT_EQ(fresh.LineText(0), "first");
  EXPECT_EQ(fresh.LineText(1), "second");
  // A value of another type reads as an empty line.
  EXPECT_EQ(fresh.LineText(5), "");
  EXPECT_EQ(fresh.current(), -1);
}

}  // namespace
}  // namespace vesk::test
