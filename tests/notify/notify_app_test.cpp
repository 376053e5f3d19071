// The running program's reminders reach a notification server and snooze
// from there; closing the pop-up withdraws the notification.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <memory>

#include "app/main_frame.h"
#include "app/veskcal_app.h"
#include "notify/notification_server.h"
#include "platform/qt/qt_notifier.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/qt_window.h"
#include "reminders/reminder_wnd.h"
#include "store/app_context.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

constexpr std::int64_t kMinuteMs = 60 * 1000;

class NotifyAppTest : public ::testing::Test {
 protected:
  NotifyAppTest() {
    app.ctx.ui = &ui;
    app.ctx.dataDir = temp.path();
    app.ctx.notifier = &notifier;
    app.registry.CreateKey("SOFTWARE\\Tolvard\\VeskCal\\sounds");
    application = std::make_unique<CVeskCalApp>(app.ctx, [] {});
  }
  ~NotifyAppTest() override {
    application.reset();
    Flush();
  }
  static void Flush() {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  std::vector<Window*> PopUps() const {
    std::vector<Window*> popups;
    for (Window* w : ui.Windows()) {
      if (w->RuntimeClass() == kReminderWndClass) popups.push_back(w);
    }
    return popups;
  }
  void Escape(Window& popup) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(ui.NativeOf(&popup)->frameWidget(), &press);
  }

  NotificationServer server{qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS")};
  TestApp app;
  TempDir temp;
  QtUi ui;
  QtNotifier notifier{"Vesk Calendar", "veskcal"};
  std::unique_ptr<CVeskCalApp> application;
};

TEST_F(NotifyAppTest, SnoozeFromTheNotificationCentreAndCloseWithdraws) {
  ASSERT_TRUE(server.IsRegistered());
  ASSERT_TRUE(application->InitInstance());
  CPlannerEntry& dentist = app.AddEntry(2000, 3, 15, 13, 30, "Dentist");
  app.clock.Advance((5 * 60 + 28) * kMinuteMs);  // 13:28
  ASSERT_EQ(PopUps().size(), 1u);
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.notified().size() == 1; }));
  EXPECT_EQ(server.notified()[0].summary, "VeskCal - 1:30pm");
  EXPECT_EQ(server.notified()[0].body, "Dentist");

  server.InvokeAction(server.notified()[0].id, "snooze");
  ASSERT_TRUE(QTest::qWaitFor([&] { return dentist.timer != 0; }));
  Flush();
  EXPECT_TRUE(PopUps().empty());
  EXPECT_EQ(app.clock.RemainingMs(dentist.timer), 5 * kMinuteMs);

  app.clock.Advance(5 * kMinuteMs);
  ASSERT_EQ(PopUps().size(), 1u);
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.notified().size() == 2; }));
  Escape(*PopUps()[0]);
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.closed().size() == 2; }));
  // The snoozed one was withdrawn with its pop-up, in case the server kept it.
  EXPECT_EQ(server.closed(), (std::vector<uint>{server.notified()[0].id, server.notified()[1].id}));
  Flush();
  EXPECT_TRUE(PopUps().empty());
}

}  // namespace
}  // namespace vesk::test
