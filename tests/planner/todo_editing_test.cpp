// Editing the to-do lines: each line is stored when it is left, whether by
// the keys, a click, another window or closing, and never under another line.
#include <gtest/gtest.h>

#include <memory>

#include "planner/entry_edit.h"
#include "planner/todo_fixture.h"
#include "planner/todo_open.h"
#include "res/command_ids.h"
#include "res/todo_resources.h"
#include "store/app_context.h"

namespace vesk::test {
namespace {

class ToDoEditingTest : public ToDoTest {
 protected:
  void SetUp() override {
    StartFrame();
    Open();
  }
  ToDo& list() { return *todo(); }
  void Key(int vk) { ui.Key(list(), vk); }
};

TEST_F(ToDoEditingTest, EnterStoresTheLineAndMovesDownUpShowsItAgain) {
  Type("Buy milk");
  EXPECT_EQ(list().editText(), "Buy milk");
  EXPECT_FALSE(Stored(0).has_value());
  Key(kVkReturn);
  EXPECT_EQ(Stored(0), "Buy milk");
  EXPECT_EQ(list().LineText(0), "Buy milk");
  EXPECT_EQ(list().current(), 1);
  EXPECT_EQ(editor().Text(), "");
  EXPECT_EQ(HeadlessUi::Record(editor())->rect.top, kLineHeight + 2);
  EXPECT_EQ(ui.Focus(), &editor());

  Key(kVkUp);
  EXPECT_EQ(list().current(), 0);
  EXPECT_EQ(editor().Text(), "Buy milk");
  EXPECT_EQ(list().editText(), "Buy milk");
  // Leaving line 1 untouched stores it empty, never line 0's text.
  EXPECT_EQ(Stored(1), "");
  EXPECT_EQ(Stored(0), "Buy milk");
}

TEST_F(ToDoEditingTest, TabAndDownMoveOnUpStopsAtTheFirstLine) {
  Key(kVkUp);
  EXPECT_EQ(list().current(), 0);
  Type("a");
  Key(kVkTab);
  Type("b");
  Key(kVkDown);
  EXPECT_EQ(list().current(), 2);
  EXPECT_EQ(Stored(0), "a");
  EXPECT_EQ(Stored(1), "b");
  // Tab and Enter insert nothing into a line.
  EXPECT_EQ(editor().Text(), "");
}

TEST_F(ToDoEditingTest, EnterOnTheLastLineStoresNothingUntilTheFocusGoes) {
  ui.Click(list(), LineCentre(19));
  ASSERT_EQ(list().current(), 19);
  Type("the last one");
  CEntryEdit* before = &editor();
  Key(kVkReturn);
  Key(kVkDown);
  Key(kVkTab);
  EXPECT_EQ(list().current(), 19);
  EXPECT_EQ(&editor(), before);
  EXPECT_EQ(editor().Text(), "the last one");
  EXPECT_FALSE(Stored(19).has_value());

  ui.Activate(*frame);
  EXPECT_EQ(Stored(19), "the last one");
}

TEST_F(ToDoEditingTest, ClickingAnotherLineStoresTheLineLeft) {
  ui.Click(list(), LineCentre(2));
  Type("dentist at 4");
  ui.Click(list(), LineCentre(7));
  EXPECT_EQ(Stored(2), "dentist at 4");
  EXPECT_EQ(list().current(), 7);
  EXPECT_EQ(HeadlessUi::Record(editor())->rect.top, 7 * kLineHeight + 2);
  EXPECT_EQ(ui.Focus(), &editor());
  EXPECT_EQ(Stored(7), std::nullopt);
  EXPECT_EQ(list().editText(), "");
}

TEST_F(ToDoEditingTest, ClickingOutsideEveryLineChangesNothing) {
  ui.Click(list(), LineCentre(4));
  Type("keep me");
  CEntryEdit* before = &editor();
  for (Point outside : {Point{kLineWidth + 3, 50}, Point{10, 20 * kLineHeight + 2}}) {
    ui.Click(list(), outside);
    EXPECT_EQ(&editor(), before);
    EXPECT_EQ(list().current(), 4);
    EXPECT_EQ(editor().Text(), "keep me");
  }
  EXPECT_FALSE(Stored(4).has_value());
}

TEST_F(ToDoEditingTest, AnotherWindowTakingTheFocusStoresTheLine) {
  ui.Click(list(), LineCentre(5));
  Type("pay rent");
  ui.Activate(*frame);
  EXPECT_EQ(Stored(5), "pay rent");
  ui.Activate(list());
  EXPECT_EQ(ui.Focus(), &editor());
  ui.Type(editor(), "!");
  ui.Click(list(), LineCentre(6));
  EXPECT_EQ(Stored(5), "pay rent!");
}

TEST_F(ToDoEditingTest, EscInTheLineClosesTheListAndStoresTheLine) {
  ui.Click(list(), LineCentre(3));
  Type("water plants");
  Key(kVkEscape);
  EXPECT_EQ(todo(), nullptr);
  EXPECT_EQ(Stored(3), "water plants");
}

TEST_F(ToDoEditingTest, EscReachingTheWindowItselfClosesIt) {
  ui.Activate(*frame);
  ui.Key(list(), kVkEscape);
  EXPECT_EQ(todo(), nullptr);
}

TEST_F(ToDoEditingTest, CloseCommandAndCloseBoxStoreTheLine) {
  Type("by command");
  ASSERT_TRUE(ui.Command(list(), res::kIdClose));
  EXPECT_EQ(todo(), nullptr);
  EXPECT_EQ(Stored(0), "by command");

  Open();
  ui.Click(list(), LineCentre(1));
  Type("by the box");
  ui.Close(list());
  EXPECT_EQ(todo(), nullptr);
  EXPECT_EQ(Stored(1), "by the box");
}

TEST_F(ToDoEditingTest, ClosingWithTheMainFrameInTheTrayStoresTheLine) {
  frame->Hide();
  ui.Activate(list());
  Type("while hidden");
  ui.Close(list());
  EXPECT_EQ(Stored(0), "while hidden");
}

TEST_F(ToDoEditingTest, DeleteEmptiesTheWholeLineStoredEmptyWhenLeft) {
  Store(6, "old note");
  ui.Close(list());
  Open();
  ui.Click(list(), LineCentre(6));
  ASSERT_EQ(editor().Text(), "old note");
  EXPECT_FALSE(ui.Command(list(), res::kIdDelete));  // nothing selected
  editor().SetSel(0, 3);
  ASSERT_TRUE(ui.Command(list(), res::kIdDelete));
  EXPECT_EQ(editor().Text(), "");
  EXPECT_EQ(list().editText(), "");
  EXPECT_EQ(Stored(6), "old note");
  Key(kVkDown);
  EXPECT_EQ(Stored(6), "");
  EXPECT_EQ(list().LineText(6), "");
}

TEST_F(ToDoEditingTest, ClipboardCommandsKeepTheLineText) {
  Type("abc");
  ASSERT_TRUE(ui.Command(list(), res::kIdSelectAll));
  int start = -1, end = -1;
  editor().GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 3);
  EXPECT_EQ(HeadlessUi::EditOf(editor())->scrollCaretCount(), 1);
  ASSERT_TRUE(ui.Command(list(), res::kIdCut));
  EXPECT_EQ(ui.clipboard(), "abc");
  EXPECT_EQ(list().editText(), "");
  ASSERT_TRUE(ui.Command(list(), res::kIdUndo));
  EXPECT_EQ(list().editText(), "abc");
  Key(kVkDown);
  ASSERT_TRUE(ui.Command(list(), res::kIdPaste));
  EXPECT_EQ(list().editText(), "abc");
  Key(kVkDown);
  EXPECT_EQ(Stored(0), "abc");
  EXPECT_EQ(Stored(1), "abc");
}

TEST_F(ToDoEditingTest, TheMainFramePassesEditingCommandsToTheActiveList) {
  Type("route me");
  ASSERT_EQ(ui.ActiveWindow(), &list());
  ui.Command(*frame, res::kIdSelectAll);
  ui.Command(*frame, res::kIdCopy);
  EXPECT_EQ(ui.clipboard(), "route me");
  ui.Command(*frame, res::kIdCut);
  EXPECT_EQ(editor().Text(), "");
}

struct MenuStates {
  const char* name;
  std::string_view typed;
  bool selectAll;
  bool cut, copy, del, paste, undo, all;
};

class ToDoMenuTest : public ToDoEditingTest, public ::testing::WithParamInterface<MenuStates> {};

TEST_P(ToDoMenuTest, ItemStatesFollowTheEditor) {
  const MenuStates& s = GetParam();
  if (!s.typed.empty()) Type(s.typed);
  if (s.selectAll) editor().SetSel(0, -1);
  EXPECT_EQ(ui.MenuState(list(), res::kIdCut).enabled, s.cut);
  EXPECT_EQ(ui.MenuState(list(), res::kIdCopy).enabled, s.copy);
  EXPECT_EQ(ui.MenuState(list(), res::kIdDelete).enabled, s.del);
  EXPECT_EQ(ui.MenuState(list(), res::kIdPaste).enabled, s.paste);
  EXPECT_EQ(ui.MenuState(list(), res::kIdUndo).enabled, s.undo);
  EXPECT_EQ(ui.MenuState(list(), res::kIdSelectAll).enabled, s.all);
  for (int always : {res::kIdPrint, res::kIdClose, res::kIdPlannerHints}) {
    EXPECT_TRUE(ui.MenuState(list(), always).enabled) << always;
  }
}

INSTANTIATE_TEST_SUITE_P(
    ToDo, ToDoMenuTest,
    ::testing::Values(
        //                name           typed  sel    cut    copy   del    paste undo   all
        MenuStates{"EmptyLine", "", false, false, false, false, true, false, false},
        MenuStates{"TypedText", "abc", false, false, false, false, true, true, true},
        MenuStates{"SelectedText", "abc", true, true, true, true, true, true, true}),
    [](const ::testing::TestParamInfo<MenuStates>& info) { return info.param.name; });

TEST_F(ToDoEditingTest, MenuIsAttachedOnTheFirstPaint) {
  EXPECT_EQ(record().menu, &res::ToDoMenu());
  ui.Close(list());
  OpenToDoList(app.ctx);
  ui.Pump();
  EXPECT_EQ(record().menu, nullptr);
  ui.Paint(list());
  ASSERT_NE(record().menu, nullptr);
  const Menu& menu = *record().menu;
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_EQ(menu[0].text, "&Commands");
  EXPECT_EQ(menu[0].children[2].text, "&Close\tEsc");
  EXPECT_EQ(menu[1].children[5].text, "&Delete\tDel");
  EXPECT_EQ(menu[1].children[5].id, res::kIdDelete);
  EXPECT_EQ(menu[2].children[0].text, "&Quick Hints");
}

TEST_F(ToDoEditingTest, QuickHintsRunWithTheListDisabled) {
  bool disabledMeanwhile = false;
  ui.ScriptDialog(res::kDlgToDoHints, [&](HeadlessDialog& dialog) {
    disabledMeanwhile = !record().enabled;
    EXPECT_EQ(dialog.controls().icon(), res::kIconToDo);
    dialog.Click(kIdCancel);
  });
  ASSERT_TRUE(ui.Command(list(), res::kIdPlannerHints));
  EXPECT_TRUE(disabledMeanwhile);
  EXPECT_TRUE(record().enabled);
  ASSERT_EQ(ui.dialogRuns().size(), 1u);
  EXPECT_EQ(ui.dialogRuns()[0].title, "Quick hints on using the To-Do List");
  EXPECT_EQ(ui.dialogRuns()[0].owner, &list());
}

}  // namespace
}  // namespace vesk::test

namespace vesk::test {
namespace {

// A toolkit that reports a focus loss while the next line's text is being
// set, before the list has taken that line as its current one.
class LateFocusLossToDo : public ToDo {
 public:
  using ToDo::ToDo;
  void OnControlNotify(int controlId, int code) override {
    ToDo::OnControlNotify(controlId, code);
    if (code == kEnChange && armed) {
      armed = false;
      ToDo::OnControlNotify(controlId, kEnKillFocus);
    }
  }
  bool armed = false;
};

TEST_F(ToDoTest, AFocusLossWhileTheNextLineOpensStoresNothingUnderTheLineLeft) {
  Store(3, "three");
  StartFrame();
  auto& list =
      static_cast<LateFocusLossToDo&>(ui.Adopt(std::make_unique<LateFocusLossToDo>(app.ctx)));
  ASSERT_TRUE(list.CreateToDo());
  ui.Pump();
  ui.Click(list, LineCentre(2));
  Type("two");
  list.armed = true;
  ui.Key(list, kVkDown);
  EXPECT_EQ(Stored(2), "two");
  EXPECT_EQ(Stored(3), "three");
  EXPECT_EQ(list.LineText(2), "two");
  EXPECT_EQ(list.current(), 3);
  ui.Close(list);
  EXPECT_EQ(Stored(2), "two");
  EXPECT_EQ(Stored(3), "three");
}

}  // namespace
}  // namespace vesk::test
