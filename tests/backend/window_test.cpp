#include <QKeyEvent>
#include <QMenuBar>
#include <QScrollBar>
#include <QWheelEvent>

#include "backend_fixture.h"

namespace vesk::test {
namespace {

using WindowTest = QtBackendTest;

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

// One key press, without the presses of its modifier keys.
void Press(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent event(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(&widget, &event);
}

TEST_F(WindowTest, OpensWithItsTitleAndSize) {
  RecordingWindow window(ui);
  ASSERT_TRUE(window.Create(Spec("VeskCal", Rect::FromSize(40, 50, 300, 200))));
  EXPECT_TRUE(window.IsVisible());
  EXPECT_EQ(window.Title(), "VeskCal");
  EXPECT_EQ(NativeOf(window).frameWidget()->windowTitle(), "VeskCal");
  // The first window's frame is unknown until it shows: the client keeps the
  // whole size asked for and the frame comes around it.
  EXPECT_EQ(window.ClientRect(), (Rect{0, 0, 300, 200}));
  EXPECT_EQ(window.WindowRect().left, 40);
  EXPECT_EQ(window.WindowRect().top, 50);
  EXPECT_GE(window.WindowRect().Width(), 300);
  // Creating and showing the window reports its position once.
  EXPECT_EQ(window.calls, std::vector<std::string>{"move"});
}

TEST_F(WindowTest, LaterWindowsGetTheOuterSizeAskedFor) {
  RecordingWindow first(ui);
  ASSERT_TRUE(first.Create(Spec("First", Rect::FromSize(0, 0, 100, 100))));
  const Rect outer = first.WindowRect();
  const Rect client = first.ClientRect();
  const int frameWidth = outer.Width() - client.Width();
  const int frameHeight = outer.Height() - client.Height();
  RecordingWindow second(ui);
  ASSERT_TRUE(second.Create(Spec("Second", Rect::FromSize(40, 50, 300, 200))));
  EXPECT_EQ(second.WindowRect(), Rect::FromSize(40, 50, 300, 200));
  EXPECT_EQ(second.ClientRect(), (Rect{0, 0, 300 - frameWidth, 200 - frameHeight}));
}

TEST_F(WindowTest, MenuBarAndScrollBarTakeTheirShareOfTheOuterRectangle) {
  WindowStyle style;
  style.vscroll = true;
  RecordingWindow window(ui);
  ASSERT_TRUE(window.Create(Spec("Planner", Rect::FromSize(0, 0, 300, 200), style)));
  const Menu menu{{"&File", 0, {{"&Close", 1, {}}}}};
  NativeOf(window).SetMenu(&menu);
  const QMenuBar* bar = NativeOf(window).frameWidget()->findChild<QMenuBar*>();
  const QScrollBar* scroll = NativeOf(window).frameWidget()->findChild<QScrollBar*>();
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(scroll, nullptr);
  EXPECT_EQ(window.ClientRect(), (Rect{0, 0, 300 - scroll->width(), 200 - bar->height()}));
  EXPECT_EQ(ClientOf(window).size(), QSize(300 - scroll->width(), 200 - bar->height()));
  EXPECT_EQ(ClientOf(window).y(), bar->height());
}

TEST_F(WindowTest, PlacingTheWindowSetsTheOuterRectangleAndReportsAMove) {
  RecordingWindow window(ui);
  ASSERT_TRUE(window.Create(Spec("VeskCal", Rect::FromSize(0, 0, 100, 100))));
  window.calls.clear();
  const int frameWidth = window.WindowRect().Width() - window.ClientRect().Width();
  const int frameHeight = window.WindowRect().Height() - window.ClientRect().Height();
  window.native()->SetWindowRect(Rect::FromSize(20, 30, 250, 180));
  EXPECT_EQ(window.WindowRect(), Rect::FromSize(20, 30, 250, 180));
  EXPECT_EQ(window.ClientRect(), (Rect{0, 0, 250 - frameWidth, 180 - frameHeight}));
  EXPECT_EQ(window.calls, std::vector<std::string>{"move"});
}

TEST_F(WindowTest, PaintingPutsTheColoursAtTheirPixels) {
  RecordingWindow window(ui);
  window.paint = [](Canvas& c) {
    c.FillSolidRect(Rect::FromSize(0, 0, 100, 100), Rgb(255, 255, 255));
    c.FillSolidRect(Rect::FromSize(10, 10, 20, 20), Rgb(255, 0, 0));
    c.Line(40, 5, 50, 5, Rgb(0, 0, 255));
    c.Draw3dRect(Rect::FromSize(60, 10, 10, 10), Rgb(0, 255, 0), Rgb(0, 0, 128));
    c.Rectangle(Rect::FromSize(10, 50, 10, 10), Rgb(255, 255, 0));
  };
  ASSERT_TRUE(window.Create(Spec("Paint", Rect::FromSize(0, 0, 100, 100))));
  const QImage image = Grab(window);
  EXPECT_EQ(At(image, 15, 15), QColor(255, 0, 0));
  EXPECT_EQ(At(image, 29, 29), QColor(255, 0, 0));
  EXPECT_EQ(At(image, 30, 30), QColor(255, 255, 255));
  // A line stops short of its end point.
  EXPECT_EQ(At(image, 40, 5), QColor(0, 0, 255));
  EXPECT_EQ(At(image, 49, 5), QColor(0, 0, 255));
  EXPECT_EQ(At(image, 50, 5), QColor(255, 255, 255));
  // The frame: light top and left, dark bottom and right, inside untouched.
  EXPECT_EQ(At(image, 60, 10), QColor(0, 255, 0));
  EXPECT_EQ(At(image, 60, 18), QColor(0, 255, 0));
  EXPECT_EQ(At(image, 69, 15), QColor(0, 0, 128));
  EXPECT_EQ(At(image, 65, 19), QColor(0, 0, 128));
  EXPECT_EQ(At(image, 65, 15), QColor(255, 255, 255));
  // A rectangle is outlined in black around its fill.
  EXPECT_EQ(At(image, 10, 50), QColor(0, 0, 0));
  EXPECT_EQ(At(image, 19, 59), QColor(0, 0, 0));
  EXPECT_EQ(At(image, 15, 55), QColor(255, 255, 0));
}

TEST_F(WindowTest, OpaqueTextStandsOnTheBackgroundColourOfTheLastFill) {
  RecordingWindow window(ui);
  Size extent;
  window.paint = [&](Canvas& c) {
    c.FillSolidRect(Rect::FromSize(0, 0, 200, 60), Rgb(255, 255, 255));
    c.FillSolidRect(Rect::FromSize(0, 0, 1, 1), Rgb(0, 128, 0));  // makes green the background
    extent = c.TextExtent("  ");
    c.TextOut(10, 10, "  ");
    c.SetBkMode(BkMode::Transparent);
    c.TextOut(10, 40, "  ");
  };
  ASSERT_TRUE(window.Create(Spec("Text", Rect::FromSize(0, 0, 200, 60))));
  const QImage image = Grab(window);
  ASSERT_GT(extent.cx, 2);
  ASSERT_GT(extent.cy, 2);
  EXPECT_EQ(At(image, 10 + extent.cx / 2, 10 + extent.cy / 2), QColor(0, 128, 0));
  EXPECT_EQ(At(image, 10 + extent.cx / 2, 40 + extent.cy / 2), QColor(255, 255, 255));
}

TEST_F(WindowTest, DrawingAtOnceStaysUntilTheNextInvalidation) {
  RecordingWindow window(ui);
  window.paint = [](Canvas& c) {
    c.FillSolidRect(Rect::FromSize(0, 0, 50, 50), Rgb(255, 255, 255));
  };
  ASSERT_TRUE(window.Create(Spec("Hover", Rect::FromSize(0, 0, 50, 50))));
  Grab(window);
  const int paints = window.paints;
  window.native()->ClientCanvas()->Draw3dRect(Rect::FromSize(5, 5, 10, 10), Rgb(255, 0, 0),
                                              Rgb(255, 0, 0));
  // Showing the window again copies what is there; OnPaint does not run.
  EXPECT_EQ(At(Grab(window), 5, 5), QColor(255, 0, 0));
  EXPECT_EQ(window.paints, paints);
  window.Invalidate();
  EXPECT_EQ(At(Grab(window), 5, 5), QColor(255, 255, 255));
  EXPECT_EQ(window.paints, paints + 1);
}

TEST_F(WindowTest, KeysArriveAsVirtualKeyCodes) {
  RecordingWindow window(ui);
  ASSERT_TRUE(window.Create(Spec("Keys", Rect::FromSize(0, 0, 50, 50))));
  QWidget& client = ClientOf(window);
  Press(client, Qt::Key_A);
  Press(client, Qt::Key_A, Qt::ShiftModifier);
  Press(client, Qt::Key_7);
  Press(client, Qt::Key_PageDown);
  Press(client, Qt::Key_Escape);
  Press(client, Qt::Key_Tab);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"move", "key 65", "key 65", "key 55", "key 34",
                                                    "key 27", "key 9"}));
}

// What Qt delivers for a double click: press, release, double click, release.
TEST_F(WindowTest, ADoubleClickDoesWhatOneClickDoes) {
  RecordingWindow window(ui);
  ASSERT_TRUE(window.Create(Spec("Clicks", Rect::FromSize(0, 0, 50, 50))));
  window.calls.clear();
  QWidget& client = ClientOf(window);
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
      const bool down = type != QEvent::MouseButtonRelease;
      QMouseEvent event(type, QPointF(10, 12), client.mapToGlobal(QPointF(10, 12)), button,
                        down ? Qt::MouseButtons(button) : Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(&client, &event);
    }
  }
  EXPECT_EQ(window.calls, (std::vector<std::string>{"down 10,12", "right 10,12"}));
}

TEST_F(WindowTest, KeysWithoutAFocusedWidgetGoToTheChildView) {
  RecordingWindow frame(ui);
  ASSERT_TRUE(frame.Create(Spec("Frame", Rect::FromSize(0, 0, 100, 100))));
  RecordingWindow view(ui);
  WindowSpec child = Spec("", Rect::FromSize(0, 0, 100, 100));
  child.parent = &frame;
  ASSERT_TRUE(view.Create(child));
  Press(*NativeOf(frame).frameWidget(), Qt::Key_PageUp);
  EXPECT_EQ(view.calls, std::vector<std::string>{"key 33"});
}

void SendWheel(QWidget& widget, int delta) {
  QWheelEvent wheel(QPointF(5, 5), widget.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&widget, &wheel);
}

TEST_F(WindowTest, WheelReportsWholeNotchesOncePerEvent) {
  RecordingWindow window(ui);
  ASSERT_TRUE(window.Create(Spec("Wheel", Rect::FromSize(0, 0, 50, 50))));
  window.calls.clear();
  SendWheel(ClientOf(window), -360);
  SendWheel(ClientOf(window), 60);  // half a notch: kept for the next event
  SendWheel(ClientOf(window), 60);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"wheel -360", "wheel 120"}));
}

TEST_F(WindowTest, ScrollBarReportsTheUsersRequestsAndLeavesTheThumbToTheProgram) {
  WindowStyle style;
  style.vscroll = true;
  RecordingWindow window(ui);
  ASSERT_TRUE(window.Create(Spec("Scroll", Rect::FromSize(0, 0, 100, 200), style)));
  window.native()->SetScrollRange(1, 24, 11, 9, false);
  auto* bar = NativeOf(window).frameWidget()->findChild<QScrollBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->minimum(), 1);
  EXPECT_EQ(bar->maximum(), 14);  // the last position that shows a whole page
  EXPECT_EQ(bar->value(), 9);
  window.calls.clear();
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  bar->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"vscroll 1 9", "vscroll 2 9"}));
  EXPECT_EQ(bar->value(), 9);
  window.native()->SetScrollPos(13, false);
  EXPECT_EQ(bar->value(), 13);
}

TEST_F(WindowTest, CloseBoxAsksTheHandler) {
  RecordingWindow window(ui);
  ASSERT_TRUE(window.Create(Spec("Close", Rect::FromSize(0, 0, 50, 50))));
  EXPECT_FALSE(NativeOf(window).frameWidget()->close());
  EXPECT_TRUE(window.IsVisible());
  window.closeDestroys = true;
  NativeOf(window).frameWidget()->close();
  EXPECT_FALSE(window.IsCreated());
  EXPECT_EQ(window.calls, (std::vector<std::string>{"move", "close", "close"}));
}

TEST_F(WindowTest, AHandledMinimiseLeavesTheWindowAsItWas) {
  WindowStyle style;
  style.minimizeBox = true;
  RecordingWindow window(ui);
  ASSERT_TRUE(window.Create(Spec("Min", Rect::FromSize(0, 0, 50, 50), style)));
  QWidget* frame = NativeOf(window).frameWidget();
  frame->setWindowState(Qt::WindowMinimized);
  EXPECT_FALSE(window.native()->IsMinimized());
  window.minimizeHandled = false;
  frame->setWindowState(Qt::WindowMinimized);
  EXPECT_TRUE(window.native()->IsMinimized());
  window.native()->Restore();
  EXPECT_FALSE(window.native()->IsMinimized());
  // The program's own minimise does not ask.
  window.native()->Minimize();
  EXPECT_TRUE(window.native()->IsMinimized());
  EXPECT_EQ(window.calls, (std::vector<std::string>{"move", "minimize", "minimize"}));
}

TEST_F(WindowTest, MenuCommandsAndStatesGoThroughTheWindow) {
  RecordingWindow window(ui);
  ASSERT_TRUE(window.Create(Spec("Menu", Rect::FromSize(0, 0, 200, 100))));
  window.disabledCommand = 11;
  window.checkedCommand = 12;
  const Menu menu{
      {"&Edit", 0, {{"Cu&t\tCtrl+X", 11, {}}, MenuItem::Separator(), {"&Week", 12, {}}}},
      {"&Next", 13, {}}};
  window.native()->SetMenu(&menu);
  QMenuBar* bar = NativeOf(window).frameWidget()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->actions().size(), 2);
  QMenu* edit = bar->actions()[0]->menu();
  ASSERT_NE(edit, nullptr);
  emit edit->aboutToShow();
  const QList<QAction*> items = edit->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), "Cu&t\tCtrl+X");
  EXPECT_FALSE(items[0]->isEnabled());
  EXPECT_TRUE(items[1]->isSeparator());
  EXPECT_TRUE(items[2]->isChecked());
  items[2]->trigger();
  bar->actions()[1]->trigger();
  EXPECT_EQ(window.calls.back(), "command 13");
  EXPECT_EQ(window.calls[window.calls.size() - 2], "command 12");
}

TEST_F(WindowTest, AcceleratorsReachTheTargetFromAnyWindowEvenWhenItIsHidden) {
  RecordingWindow frame(ui);
  ASSERT_TRUE(frame.Create(Spec("Frame", Rect::FromSize(0, 0, 50, 50))));
  RecordingWindow other(ui);
  ASSERT_TRUE(other.Create(Spec("Other", Rect::FromSize(60, 0, 50, 50))));
  ui.SetAccelerators({{'D', 32816}, {'X', 32828}}, frame);
  frame.native()->Show(false);
  frame.calls.clear();
  other.calls.clear();
  Press(ClientOf(other), Qt::Key_D, Qt::ControlModifier);
  Press(ClientOf(other), Qt::Key_Q, Qt::ControlModifier);
  Press(ClientOf(other), Qt::Key_D);
  EXPECT_EQ(frame.calls, std::vector<std::string>{"command 32816"});
  EXPECT_EQ(other.calls, (std::vector<std::string>{"key 81", "key 68"}));
}

TEST_F(WindowTest, PopupStyleWindowNeverTakesInput) {
  WindowStyle style;
  style.popup = true;
  style.disabled = true;
  style.caption = false;
  RecordingWindow popup(ui);
  ASSERT_TRUE(popup.Create(Spec("", Rect::FromSize(0, 0, 80, 40), style)));
  const QWidget* frame = NativeOf(popup).frameWidget();
  EXPECT_TRUE(frame->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(frame->windowFlags().testFlag(Qt::WindowTransparentForInput));
  EXPECT_TRUE(frame->testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_TRUE(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
  EXPECT_FALSE(popup.native()->IsEnabled());
}

TEST_F(WindowTest, TopmostIsAWindowFlag) {
  RecordingWindow window(ui);
  WindowSpec spec = Spec("Top", Rect::FromSize(0, 0, 50, 50));
  spec.visible = false;
  ASSERT_TRUE(window.Create(spec));
  window.native()->SetTopmost(true);
  EXPECT_TRUE(NativeOf(window).frameWidget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  window.native()->SetTopmost(false);
  EXPECT_FALSE(NativeOf(window).frameWidget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(WindowTest, DestroyingAWindowInsideItsOwnHandlerIsSafe) {
  RecordingWindow window(ui);
  window.closeDestroys = true;
  ASSERT_TRUE(window.Create(Spec("Gone", Rect::FromSize(0, 0, 50, 50))));
  QPointer<QWidget> frame = NativeOf(window).frameWidget();
  frame->close();
  EXPECT_FALSE(window.IsCreated());
  Flush();
  EXPECT_TRUE(frame.isNull());
}

}  // namespace
}  // namespace vesk::test

namespace vesk::test {
namespace {

TEST_F(QtBackendTest, PostedWorkRunsInOrderOnceTheCurrentEventIsDone) {
  std::vector<int> ran;
  ui.Post([&] { ran.push_back(1); });
  ui.Post([&] { ran.push_back(2); });
  EXPECT_TRUE(ran.empty());
  QApplication::processEvents();
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

TEST(UiLifetimeTest, WorkStillWaitingWhenTheUiGoesIsDroppedWithTheWindowsItHolds) {
  auto ui = std::make_unique<QtUi>();
  Window& window = ui->Adopt(std::make_unique<RecordingWindow>(*ui));
  WindowSpec spec;
  spec.rect = Rect::FromSize(0, 0, 50, 50);
  spec.visible = true;
  ASSERT_TRUE(window.Create(spec));
  window.Destroy();  // the object is released by posted work
  bool ran = false;
  ui->Post([&] { ran = true; });
  ui.reset();
  QApplication::processEvents();
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace vesk::test
