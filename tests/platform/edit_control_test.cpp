// The edit control on the headless twin: key and wheel delivery, the text
// model with its limit, selection, clipboard and undo, and its notifications.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/headless/headless_ui.h"
#include "platform/log_window.h"

namespace vesk::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kEditId = 16150;

class EditControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame.Create(TopLevel("Frame"));
    Open(EditOptions{.multiline = false, .autoHScroll = true, .limit = 100});
  }

  // A fresh, shown and focused control, as the planner's OpenLineEditor makes it.
  void Open(const EditOptions& options) {
    edit = std::make_unique<LogEdit>(ui, log);
    ASSERT_TRUE(edit->CreateEdit(frame, kEditId, {10, 10, 190, 30}, options));
    edit->ShowOnTop();
    edit->SetFocus();
    log.clear();
  }

  std::string Text() const { return edit->Text(); }

  HeadlessUi ui;
  Log log;
  LogWindow frame{ui, log, "frame"};
  std::unique_ptr<LogEdit> edit;
};

TEST_F(EditControlTest, KeysReachTheFocusedControlBeforeItsOwnHandling) {
  edit->consumedKeys = {kVkTab};
  ui.Key(frame, kVkTab);
  ui.Key(frame, 'A');
  EXPECT_EQ(Text(), "a");
  EXPECT_THAT(log, ElementsAre("edit key 9", "edit key 65", "frame notify 16150 768"));
}

TEST_F(EditControlTest, KeysGoToTheWindowWhenTheFocusIsElsewhere) {
  LogWindow other(ui, log, "other");
  other.Create(TopLevel("Other"));
  log.clear();
  ui.Key(frame, kVkDown);  // the frame holds no focus now: it gets the key itself
  EXPECT_THAT(log, ElementsAre("frame key 40"));
}

TEST_F(EditControlTest, AKeyHandlerMayReplaceTheControlAndReturnAtOnce) {
  edit->onKey = [&](int) {
    edit.reset();  // the owner destroys it and opens another line
    return true;
  };
  ui.Key(frame, kVkReturn);
  EXPECT_EQ(edit, nullptr);
  EXPECT_THAT(log, ElementsAre("edit key 13"));
}

TEST_F(EditControlTest, TheLimitRefusesThe101stCharacter) {
  ui.Type(*edit, std::string(99, 'x') + "yz");
  EXPECT_EQ(Text(), std::string(99, 'x') + "y");
  EXPECT_EQ(HeadlessUi::EditOf(*edit)->model().refused(), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "frame notify 16150 768"), 100);
  // Replacing a selection keeps within the limit.
  edit->SetSel(0, 1);
  ui.Type(*edit, "é");
  EXPECT_EQ(Text().substr(0, 2), "é");
}

TEST_F(EditControlTest, CutCopyPasteAndUndoThroughTheClipboard) {
  ui.Type(*edit, "hello world");
  edit->SetSel(0, 6);
  edit->Cut();
  EXPECT_EQ(Text(), "world");
  EXPECT_EQ(ui.clipboard(), "hello ");
  edit->SetSel(5, -1);
  edit->Paste();
  EXPECT_EQ(Text(), "worldhello ");
  edit->Undo();
  EXPECT_EQ(Text(), "world");
  edit->Undo();  // an undo undoes itself
  EXPECT_EQ(Text(), "worldhello ");
  edit->SetSel(0, 5);
  edit->Copy();
  EXPECT_EQ(ui.clipboard(), "world");
  EXPECT_EQ(Text(), "worldhello ");
  int start = 0, end = 0;
  edit->GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 5);
}

TEST_F(EditControlTest, TypingIsOneUndoStep) {
  ui.Type(*edit, "abc");
  ui.Type(*edit, "def");
  EXPECT_TRUE(edit->CanUndo());
  edit->Undo();
  EXPECT_EQ(Text(), "");
  edit->SetText("new");
  EXPECT_FALSE(edit->CanUndo());
}

TEST_F(EditControlTest, PasteIsCutToTheLimitAndToOneLineInASingleLineControl) {
  ui.Type(*edit, std::string(95, 'x'));
  ui.SetClipboard("0123456789\r\nsecond");
  edit->SetSel(-1, -1);
  edit->Paste();
  EXPECT_EQ(Text(), std::string(95, 'x') + "01234");
}

TEST_F(EditControlTest, SetTextNotifiesOnlyASingleLineControl) {
  edit->SetText("single");
  EXPECT_THAT(log, ElementsAre("frame notify 16150 768"));
  Open(EditOptions{.multiline = true, .autoHScroll = false, .limit = 100});
  edit->SetText("multi");
  EXPECT_THAT(log, IsEmpty());
}

TEST_F(EditControlTest, EnterAndTabInsertOnlyInAMultiLineControl) {
  ui.Key(frame, kVkReturn);
  ui.Key(frame, kVkTab);
  EXPECT_EQ(Text(), "");
  Open(EditOptions{.multiline = true, .autoHScroll = false, .limit = 100});
  ui.Key(frame, kVkReturn);
  ui.Key(frame, kVkTab);
  EXPECT_EQ(Text(), "\r\n\t");
}

TEST_F(EditControlTest, TheDefaultKeysEditAroundTheCaret) {
  ui.Type(*edit, "abcd");
  ui.Key(frame, kVkLeft);
  ui.Key(frame, kVkBack);  // removes c
  EXPECT_EQ(Text(), "abd");
  ui.Key(frame, kVkHome);
  ui.Key(frame, kVkDelete);  // removes a
  EXPECT_EQ(Text(), "bd");
  ui.Key(frame, kVkBack);  // nothing before the caret
  ui.Key(frame, kVkEnd);
  ui.Key(frame, kVkDelete);  // nothing after it
  ui.Key(frame, kVkRight);
  ui.Key(frame, ' ');
  ui.Key(frame, '7');
  EXPECT_EQ(Text(), "bd 7");
}

TEST_F(EditControlTest, APressPutsTheCaretAtTheNearestCharacter) {
  HeadlessFont font(FontRecord::DefaultMain());  // 7 pixels a character
  edit->SetFont(&font);
  edit->SetText("abcdef");
  ui.Click(*edit, {17, 5});
  int start = 0, end = 0;
  edit->GetSel(start, end);
  EXPECT_EQ(start, 2);
  EXPECT_EQ(end, 2);
}

TEST_F(EditControlTest, TypingNeedsTheFocus) {
  LogWindow other(ui, log, "other");
  other.Create(TopLevel("Other"));
  ui.Type(*edit, "lost");
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(ui.failures().size(), 1u);
}

TEST_F(EditControlTest, TheWheelGoesToTheControlFirstThenToItsParent) {
  ui.Wheel(frame, -120);
  EXPECT_THAT(log, ElementsAre("edit wheel -120", "frame wheel -120"));
  log.clear();
  edit->handlesWheel = true;
  ui.Wheel(frame, 120);
  EXPECT_THAT(log, ElementsAre("edit wheel 120"));
}

TEST_F(EditControlTest, FocusLossIsReportedWhenAnotherWindowIsActivatedButNotOnReturn) {
  LogWindow other(ui, log, "other");
  other.Create(TopLevel("Other"));
  EXPECT_THAT(log, ElementsAre("other create", "frame notify 16150 512"));
  log.clear();
  ui.Activate(frame);  // the focus comes back to the control
  EXPECT_EQ(ui.Focus(), edit.get());
  EXPECT_THAT(log, IsEmpty());
}

TEST_F(EditControlTest, DestroyingTheFocusedControlReportsFocusLossWhileTheParentExists) {
  edit->Destroy();
  EXPECT_THAT(log, ElementsAre("frame notify 16150 512", "edit destroy"));
  Open({});
  frame.Destroy();  // closing the window: the line is reported before the window goes
  EXPECT_THAT(log, ElementsAre("frame notify 16150 512", "frame destroy", "edit destroy"));
}

TEST_F(EditControlTest, AHiddenControlTakesNoKeys) {
  edit->native()->Show(false);
  EXPECT_EQ(ui.Focus(), &frame);
  ui.Key(frame, 'Q');
  EXPECT_EQ(Text(), "");
  EXPECT_THAT(log, Contains("frame key 81"));
}

}  // namespace
}  // namespace vesk::test
