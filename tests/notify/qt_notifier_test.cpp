// The Qt notifier and the wake-up report against servers on a private bus.
#include "platform/qt/qt_notifier.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <string>
#include <utility>
#include <vector>

#include "notify/notification_server.h"
#include "platform/qt/qt_clock.h"

namespace vesk::test {
namespace {

QString BusAddress() { return qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"); }

// Lets the bus deliver what is under way.
void Settle() { QTest::qWait(200); }

class RecordingHandler : public NotificationHandler {
 public:
  void OnNotificationAction(int id, std::string_view key) override {
    actions.emplace_back(id, std::string(key));
  }
  void OnNotificationDismissed(int id) override { dismissed.push_back(id); }
  std::vector<std::pair<int, std::string>> actions;
  std::vector<int> dismissed;
};

const DesktopNotification kDentist{
    "VeskCal - 1:30pm",
    "Dentist",
    {{"default", "Open the day planner"}, {"snooze", "Snooze 5 minutes"}}};

class QtNotifierTest : public ::testing::Test {
 protected:
  QtNotifierTest() { notifier.SetHandler(&handler); }
  // Sends a notification and waits until the server has it; its server id.
  uint Sent(int& id) {
    const std::size_t before = server.notified().size();
    id = notifier.Notify(kDentist);
    EXPECT_GT(id, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.notified().size() == before + 1; }));
    return server.notified().empty() ? 0 : server.notified().back().id;
  }

  NotificationServer server{BusAddress()};
  QtNotifier notifier{"Vesk Calendar", "/usr/share/icons/veskcal.svg"};
  RecordingHandler handler;
};

TEST_F(QtNotifierTest, NotifyCarriesTheTextTheActionsAndStaysUntilClosed) {
  ASSERT_TRUE(server.IsRegistered());
  int id = 0;
  Sent(id);
  ASSERT_EQ(server.notified().size(), 1u);
  const ReceivedNotification& n = server.notified()[0];
  EXPECT_EQ(n.appName, "Vesk Calendar");
  EXPECT_EQ(n.replacesId, 0u);
  EXPECT_EQ(n.icon, "/usr/share/icons/veskcal.svg");
  EXPECT_EQ(n.summary, "VeskCal - 1:30pm");
  EXPECT_EQ(n.body, "Dentist");
  EXPECT_EQ(n.actions,
            (QStringList{"default", "Open the day planner", "snooze", "Snooze 5 minutes"}));
  EXPECT_EQ(n.hints.value("urgency").toInt(), 1);
  EXPECT_EQ(n.expireTimeout, 0);
}

TEST_F(QtNotifierTest, ActionsAndDismissalsReachTheHandlerUnderTheProgramsIds) {
  int first = 0, second = 0;
  const uint firstOnServer = Sent(first);
  const uint secondOnServer = Sent(second);
  server.InvokeAction(firstOnServer, "snooze");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !handler.actions.empty(); }));
  server.Dismiss(secondOnServer);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !handler.dismissed.empty(); }));
  Settle();
  EXPECT_EQ(handler.actions, (std::vector<std::pair<int, std::string>>{{first, "snooze"}}));
  // The closing that follows an action is no dismissal.
  EXPECT_EQ(handler.dismissed, std::vector<int>{second});
}

TEST_F(QtNotifierTest, CloseWithdrawsTheNotificationOnceEvenBeforeTheServerAnswered) {
  int answered = 0;
  const uint onServer = Sent(answered);
  const int pending = notifier.Notify(kDentist);
  notifier.Close(pending);
  notifier.Close(answered);
  notifier.Close(answered);
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.closed().size() == 2; }));
  Settle();
  EXPECT_EQ(server.closed(), (std::vector<uint>{onServer, server.notified().at(1).id}));
  EXPECT_TRUE(handler.dismissed.empty());
}

// Qt's warnings, caught while a test runs.
std::vector<QString> logged;
void Catch(QtMsgType, const QMessageLogContext&, const QString& text) { logged.push_back(text); }

TEST(QtNotifierWithoutServerTest, NothingIsShownAndNothingPrinted) {
  logged.clear();
  const QtMessageHandler previous = qInstallMessageHandler(Catch);
  {
    RecordingHandler handler;
    QtNotifier notifier{"Vesk Calendar", "veskcal"};
    notifier.SetHandler(&handler);
    const int id = notifier.Notify(kDentist);
    EXPECT_GT(id, 0);
    Settle();
    notifier.Close(id);
    Settle();
    EXPECT_TRUE(handler.actions.empty());
    EXPECT_TRUE(handler.dismissed.empty());
  }
  qInstallMessageHandler(previous);
  EXPECT_TRUE(logged.empty()) << logged.front().toStdString();
}

TEST(QtClockTest, LogindsWakeUpReachesTheResumeHandler) {
  FakeLogind logind(BusAddress());
  ASSERT_TRUE(logind.IsRegistered());
  QtClock clock;
  int resumed = 0;
  clock.SetResumeHandler([&resumed] { ++resumed; });
  logind.PrepareForSleep(true);
  Settle();
  EXPECT_EQ(resumed, 0);
  logind.PrepareForSleep(false);
  EXPECT_TRUE(QTest::qWaitFor([&] { return resumed == 1; }));

  clock.SetResumeHandler({});
  logind.PrepareForSleep(false);
  Settle();
  EXPECT_EQ(resumed, 1);
}

}  // namespace
}  // namespace vesk::test
