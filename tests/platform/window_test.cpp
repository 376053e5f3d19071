// The window life cycle shared by both backends, run on the headless twin.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "platform/log_window.h"

namespace vesk::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(WindowTest, AdoptedWindowIsReleasedOnceTheCurrentMessageIsHandled) {
  HeadlessUi ui;
  Log log;
  bool deleted = false;
  Window& w = ui.Adopt(std::make_unique<LogWindow>(ui, log, "w", &deleted));
  ASSERT_TRUE(w.Create(TopLevel("W")));
  EXPECT_THAT(ui.Windows(), ElementsAre(&w));

  w.Destroy();
  EXPECT_FALSE(deleted);  // still usable by the code that destroyed it
  EXPECT_FALSE(w.IsCreated());
  EXPECT_THAT(ui.Windows(), IsEmpty());
  ui.Pump();
  EXPECT_TRUE(deleted);
  EXPECT_THAT(log, ElementsAre("w create", "w destroy"));
}

TEST(WindowTest, AHandlerMayDestroyItsOwnWindowAndCarryOn) {
  HeadlessUi ui;
  Log log;
  bool deleted = false;
  auto& w = static_cast<LogWindow&>(ui.Adopt(std::make_unique<LogWindow>(ui, log, "w", &deleted)));
  w.Create(TopLevel("W"));
  w.onLButton = [&] {
    w.Destroy();
    w.Destroy();                     // a second request does nothing
    w.SetTitle("after");             // no native window: ignored
    log.push_back(w.Title() + "|");  // the object is still there
  };
  ui.Click(w, {5, 5});  // pumps: the object goes after the handler returned
  EXPECT_TRUE(deleted);
  EXPECT_THAT(log, ElementsAre("w create", "w down 5,5", "w destroy", "|"));
}

TEST(WindowTest, OnDestroyRunsOnceEvenWhenItDestroysAgain) {
  HeadlessUi ui;
  Log log;
  LogWindow w(ui, log, "w");
  w.Create(TopLevel("W"));
  w.onDestroy = [&] { w.Destroy(); };
  w.Destroy();
  w.Destroy();
  EXPECT_THAT(log, ElementsAre("w create", "w destroy"));
}

TEST(WindowTest, DestroyTakesOwnedWindowsFirstAndChildrenAfterTheParent) {
  HeadlessUi ui;
  Log log;
  LogWindow frame(ui, log, "frame");
  LogWindow owned(ui, log, "owned");
  LogWindow child(ui, log, "child");
  frame.Create(TopLevel("Frame"));
  WindowSpec ownedSpec = TopLevel("Owned");
  ownedSpec.owner = &frame;
  owned.Create(ownedSpec);
  WindowSpec childSpec;
  childSpec.parent = &frame;
  childSpec.rect = {0, 0, 10, 10};
  child.Create(childSpec);
  log.clear();

  frame.Destroy();
  EXPECT_THAT(log, ElementsAre("owned destroy", "frame destroy", "child destroy"));
  EXPECT_FALSE(owned.IsCreated());
  EXPECT_FALSE(child.IsCreated());
  EXPECT_THAT(ui.Windows(), IsEmpty());
}

TEST(WindowTest, DeletingALiveWindowTearsItDownWithoutHandlers) {
  HeadlessUi ui;
  Log log;
  LogWindow child(ui, log, "child");
  {
    LogWindow frame(ui, log, "frame");
    frame.Create(TopLevel("Frame"));
    WindowSpec spec;
    spec.parent = &frame;
    child.Create(spec);
    log.clear();
  }
  EXPECT_THAT(log, IsEmpty());
  EXPECT_FALSE(child.IsCreated());
  EXPECT_THAT(ui.Windows(), IsEmpty());
}

TEST(WindowTest, DestroyOnAnAdoptedWindowThatWasNeverCreatedReleasesIt) {
  HeadlessUi ui;
  Log log;
  bool deleted = false;
  ui.Adopt(std::make_unique<LogWindow>(ui, log, "w", &deleted)).Destroy();
  ui.Pump();
  EXPECT_TRUE(deleted);
}

TEST(WindowTest, PostedMessagesRunInOrderAfterTheCurrentOneAndDieWithTheWindow) {
  HeadlessUi ui;
  Log log;
  LogWindow w(ui, log, "w");
  w.Create(TopLevel("W"));
  w.onLButton = [&] {
    w.PostUserMessage(1);
    w.PostClose();
    w.PostUserMessage(2);
    log.push_back("handler done");
  };
  ui.Click(w, {0, 0});
  // The close destroyed the window, so the message posted after it is dropped.
  EXPECT_THAT(log, ElementsAre("w create", "w down 0,0", "handler done", "w user 1", "w close",
                               "w destroy"));
  EXPECT_EQ(ui.PendingPosts(), 0u);
}

TEST(WindowTest, AHandleDiesWithItsWindowAndStaysDeadWhenTheObjectIsReused) {
  HeadlessUi ui;
  Log log;
  LogWindow w(ui, log, "w");
  EXPECT_EQ(w.Ref().get(), nullptr);  // not created yet
  w.Create(TopLevel("W"));
  const WindowRef first = w.Ref();
  EXPECT_EQ(first.get(), &w);
  w.Destroy();
  w.Create(TopLevel("W again"));
  EXPECT_EQ(first.get(), nullptr);
  EXPECT_EQ(w.Ref().get(), &w);
}

TEST(WindowTest, WindowsListsLiveWindowsInCreationOrder) {
  HeadlessUi ui;
  Log log;
  LogWindow a(ui, log, "a"), b(ui, log, "b"), c(ui, log, "c");
  a.Create(TopLevel("A"));
  b.Create(TopLevel("B"));
  c.Create(TopLevel("C"));
  b.Destroy();
  EXPECT_THAT(ui.Windows(), ElementsAre(&a, &c));
}

TEST(WindowTest, ClientRectangleIsTheOuterOneLessTheDocumentedFrame) {
  HeadlessUi ui;
  Log log;
  const Menu menu = {MenuItem{"&File", 0, {MenuItem{"E&xit", 57665, {}}}}};
  struct Row {
    const char* name;
    WindowStyle style;
    bool withMenu;
    Rect client;
  };
  WindowStyle plain, scrolled, popup;
  scrolled.vscroll = true;
  popup.popup = true;
  const Row rows[] = {
      {"caption and border", plain, false, {0, 0, 198, 129}},
      {"with a menu bar", plain, true, {0, 0, 198, 109}},
      {"with a scroll bar", scrolled, false, {0, 0, 182, 129}},
      {"pop-up: no frame", popup, false, {0, 0, 200, 150}},
  };
  for (const Row& row : rows) {
    LogWindow w(ui, log, "w");
    WindowSpec spec = TopLevel("W", {100, 100, 300, 250});
    spec.style = row.style;
    w.Create(spec);
    if (row.withMenu) w.native()->SetMenu(&menu);
    EXPECT_EQ(w.ClientRect(), row.client) << row.name;
    EXPECT_EQ(w.WindowRect(), (Rect{100, 100, 300, 250})) << row.name;
  }
}

TEST(WindowTest, ShowingActivatesAndHidingPassesActivationToTheOwner) {
  HeadlessUi ui;
  Log log;
  LogWindow frame(ui, log, "frame"), planner(ui, log, "planner"), popup(ui, log, "popup");
  frame.Create(TopLevel("Frame"));
  EXPECT_EQ(ui.ActiveWindow(), &frame);

  WindowSpec spec = TopLevel("Planner");
  spec.owner = &frame;
  planner.Create(spec);
  EXPECT_EQ(ui.ActiveWindow(), &planner);

  WindowSpec popupSpec = TopLevel("");
  popupSpec.style.popup = true;
  popupSpec.style.disabled = true;
  popup.Create(popupSpec);  // a pop-up that never takes input leaves activation alone
  EXPECT_EQ(ui.ActiveWindow(), &planner);
  EXPECT_FALSE(ui.Click(popup, {1, 1}));

  planner.native()->Show(false);
  EXPECT_EQ(ui.ActiveWindow(), &frame);
}

}  // namespace
}  // namespace vesk::test
