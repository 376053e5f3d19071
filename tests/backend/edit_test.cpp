#include <QClipboard>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QWheelEvent>
#include <memory>

#include "backend_fixture.h"
#include "platform/edit_control.h"
#include "platform/qt/qt_edit.h"

namespace vesk::test {
namespace {

constexpr int kEditId = 16150;

// An edit control whose key handler consumes what the test says, and may
// destroy the control from inside the handler, as the planner's navigation does.
class ScriptedEdit : public EditControl {
 public:
  using EditControl::EditControl;
  bool OnKeyDown(int vk) override {
    keys.push_back(vk);
    if (vk == destroyOnKey && destroy) {
      destroy();
      return true;  // this object is gone: return at once
    }
    return vk == kVkReturn || vk == kVkUp;
  }
  bool OnMouseWheel(int delta) override {
    wheels.push_back(delta);
    return takesWheel;
  }
  std::vector<int> keys;
  std::vector<int> wheels;
  bool takesWheel = true;
  int destroyOnKey = 0;
  std::function<void()> destroy;
};

// Every test runs on the single-line control (the to-do list's, which scrolls
// sideways) and on the multi-line one (the day planner's, which wraps).
class EditTest : public QtBackendTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(owner.Create(Spec("Owner", Rect::FromSize(0, 0, 300, 100))));
    owner.calls.clear();
    edit = std::make_unique<ScriptedEdit>(ui);
    EditOptions options;
    options.multiline = Multiline();
    options.autoHScroll = !Multiline();
    options.limit = 100;
    ASSERT_TRUE(edit->CreateEdit(owner, kEditId, Rect::FromSize(10, 10, 200, 20), options));
    edit->ShowOnTop();
  }
  void TearDown() override {
    edit.reset();
    QtBackendTest::TearDown();
  }

  static bool Multiline() { return GetParam(); }
  QWidget* Line() { return static_cast<QtEdit*>(edit->native())->widget(); }
  void Type(int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(Line(), &press);
  }
  void Notified(std::vector<std::string> expected) {
    std::vector<std::string> notes;
    for (const std::string& call : owner.calls) {
      if (call.rfind("notify", 0) == 0) notes.push_back(call);
    }
    EXPECT_EQ(notes, expected);
    owner.calls.clear();
  }

  RecordingWindow owner{ui};
  std::unique_ptr<ScriptedEdit> edit;
};

const std::string kChange = "notify 16150 768";
const std::string kFocusLost = "notify 16150 512";

TEST_P(EditTest, TheControlSitsInItsParentsClientArea) {
  EXPECT_EQ(Line()->parentWidget(), &ClientOf(owner));
  EXPECT_EQ(Line()->geometry(), QRect(10, 10, 200, 20));
  EXPECT_TRUE(Line()->isVisible());
  edit->Place(Rect::FromSize(5, 30, 100, 18));
  EXPECT_EQ(Line()->geometry(), QRect(5, 30, 100, 18));
}

TEST_P(EditTest, KeysReachTheHandlerFirstAndConsumedOnesGoNoFurther) {
  Type(Qt::Key_X, "x");
  Type(Qt::Key_Return, "\r");
  Type(Qt::Key_Tab, "\t");
  Type(Qt::Key_Up);
  EXPECT_EQ(edit->keys, (std::vector<int>{'X', kVkReturn, kVkTab, kVkUp}));
  // Only the letter reached the line edit; Tab inserts nothing either.
  EXPECT_EQ(edit->Text(), "x");
}

TEST_P(EditTest, AHandlerMayDestroyTheControlWhileItsKeyIsHandled) {
  QPointer<QWidget> line = Line();
  edit->destroyOnKey = kVkDown;
  edit->destroy = [this] { edit.reset(); };
  Type(Qt::Key_Down);
  EXPECT_EQ(edit, nullptr);
  Flush();
  EXPECT_TRUE(line.isNull());
}

TEST_P(EditTest, ChangesAreReportedToTheParent) {
  Type(Qt::Key_A, "a");
  Notified({kChange});
  // Setting the text reports it too on a single-line control, even when it
  // does not change; a multi-line one reports only the user's edits.
  edit->SetText("plan");
  edit->SetText("plan");
  Notified(Multiline() ? std::vector<std::string>{} : std::vector<std::string>{kChange, kChange});
  edit->SetSel(0, -1);
  edit->Cut();
  EXPECT_EQ(edit->Text(), "");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "plan");
  Notified({kChange, kChange});
}

TEST_P(EditTest, TheLimitRefusesFurtherCharactersAndCutsAPasteToFit) {
  edit->SetText(std::string(99, 'a'));
  edit->SetSel(99, 99);
  owner.calls.clear();
  Type(Qt::Key_B, "b");
  Type(Qt::Key_C, "c");
  EXPECT_EQ(edit->Text(), std::string(99, 'a') + "b");
  Notified({kChange});
  edit->SetText(std::string(98, 'a'));
  edit->SetSel(98, 98);
  QGuiApplication::clipboard()->setText("xyz");
  edit->Paste();
  EXPECT_EQ(edit->Text(), std::string(98, 'a') + "xy");
}

TEST_P(EditTest, SelectionCountsCharacters) {
  edit->SetText("h\xC3\xA9llo w\xF0\x9F\x98\x80rld");  // héllo w😀rld
  edit->SetSel(1, 9);
  int start = 0, end = 0;
  edit->GetSel(start, end);
  EXPECT_EQ(start, 1);
  EXPECT_EQ(end, 9);
  edit->Copy();
  edit->SetSel(0, -1);
  edit->Paste();
  EXPECT_EQ(edit->Text(), "\xC3\xA9llo w\xF0\x9F\x98\x80r");
  EXPECT_TRUE(edit->CanUndo());
}

TEST_P(EditTest, LosingTheFocusIsReportedButNotForAMenu) {
  QFocusEvent toMenu(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(Line(), &toMenu);
  Notified({});
  QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(Line(), &away);
  Notified({kFocusLost});
}

TEST_P(EditTest, AFocusedControlReportsTheLossWhenItGoes) {
  NativeOf(owner).frameWidget()->activateWindow();
  QApplication::processEvents();
  edit->SetFocus();
  if (!Line()->hasFocus()) GTEST_SKIP() << "the platform gave the window no focus";
  owner.calls.clear();
  edit->Destroy();
  Notified({kFocusLost});
}

void SendWheel(QWidget& widget, int delta) {
  QWheelEvent event(QPointF(5, 5), widget.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&widget, &event);
}

TEST_P(EditTest, WheelReachesTheControlInWholeNotches) {
  SendWheel(*Line(), -240);
  SendWheel(*Line(), 60);
  SendWheel(*Line(), 60);
  EXPECT_EQ(edit->wheels, (std::vector<int>{-240, 120}));
  // Over a multi-line control's text the wheel arrives at its viewport.
  if (auto* text = qobject_cast<QPlainTextEdit*>(Line())) {
    SendWheel(*text->viewport(), -120);
    EXPECT_EQ(edit->wheels, (std::vector<int>{-240, 120, -120}));
  }
}

// A text longer than the control: the single-line control scrolls sideways to
// keep the caret in view; the multi-line one wraps it and keeps showing its
// first line.
TEST_P(EditTest, ALongTextScrollsSidewaysOrWrapsWithoutScrolling) {
  edit->Place(Rect::FromSize(10, 10, 80, 20));
  const QString text = "a text much longer than the control is wide";
  for (QChar c : text) Type(0, QString(c));
  ASSERT_EQ(edit->Text(), text.toStdString());
  ASSERT_GT(QFontMetrics(Line()->font()).horizontalAdvance(text), 80);
  Line()->grab();  // laid out and painted as on the screen
  Flush();
  if (auto* line = qobject_cast<QLineEdit*>(Line())) {
    EXPECT_FALSE(Multiline());
    // The caret at the text's end stands inside the control.
    EXPECT_LT(line->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), line->width());
    return;
  }
  auto* wrapped = qobject_cast<QPlainTextEdit*>(Line());
  ASSERT_NE(wrapped, nullptr);
  EXPECT_TRUE(Multiline());
  EXPECT_GT(wrapped->document()->firstBlock().layout()->lineCount(), 1);
  EXPECT_EQ(wrapped->verticalScrollBar()->value(), 0);
  EXPECT_EQ(wrapped->horizontalScrollBar()->value(), 0);
  EXPECT_EQ(wrapped->document()->blockCount(), 1);
}

TEST_P(EditTest, WheelOverTheParentGoesToTheFocusedControlFirst) {
  NativeOf(owner).frameWidget()->activateWindow();
  QApplication::processEvents();
  edit->SetFocus();
  if (!Line()->hasFocus()) GTEST_SKIP() << "the platform gave the window no focus";
  owner.calls.clear();
  SendWheel(ClientOf(owner), 120);
  EXPECT_EQ(edit->wheels, std::vector<int>{120});
  EXPECT_EQ(owner.calls, std::vector<std::string>{});
  // Declined, it is the parent's.
  edit->takesWheel = false;
  SendWheel(ClientOf(owner), -120);
  EXPECT_EQ(owner.calls, std::vector<std::string>{"wheel -120"});
}

INSTANTIATE_TEST_SUITE_P(Controls, EditTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("MultiLine") : std::string("SingleLine");
                         });

}  // namespace
}  // namespace vesk::test
