// The entry edit control on its own: the character limit and the control's
// shape for each owner.
#include <gtest/gtest.h>

#include <string>

#include "planner/entry_edit.h"
#include "platform/headless/headless_ui.h"
#include "res/command_ids.h"

namespace vesk::test {
namespace {

class EntryEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WindowSpec spec;
    spec.rect = {10, 10, 400, 300};
    spec.visible = true;
    ASSERT_TRUE(owner.Create(spec));
  }
  HeadlessUi ui;
  Window owner{ui};
};

TEST_F(EntryEditTest, RefusesTheHundredAndFirstCharacter) {
  CEntryEdit edit(ui);
  ASSERT_TRUE(edit.CreateFor(owner, {0, 0, 200, 20}, true));
  edit.ShowOnTop();
  edit.SetFocus();
  ui.Type(edit, std::string(100, 'a'));
  ui.Type(edit, "b");
  EXPECT_EQ(edit.Text(), std::string(100, 'a'));
  EXPECT_EQ(edit.controlId(), res::kIdEntryEdit);
  edit.Destroy();
}

TEST_F(EntryEditTest, IsMultiLineInAPlannerAndScrollsSidewaysInTheToDoList) {
  CEntryEdit planner(ui);
  ASSERT_TRUE(planner.CreateFor(owner, {0, 0, 200, 20}, true));
  EXPECT_TRUE(HeadlessUi::EditOf(planner)->options().multiline);
  EXPECT_FALSE(HeadlessUi::EditOf(planner)->options().autoHScroll);
  EXPECT_FALSE(planner.IsVisible());
  CEntryEdit todo(ui);
  ASSERT_TRUE(todo.CreateFor(owner, {0, 20, 200, 40}, false));
  EXPECT_FALSE(HeadlessUi::EditOf(todo)->options().multiline);
  EXPECT_TRUE(HeadlessUi::EditOf(todo)->options().autoHScroll);
  planner.Destroy();
  todo.Destroy();
}

}  // namespace
}  // namespace vesk::test
