// The repeat dialog on the Qt backend: the until date the user picks in the
// date picker keeps the entry's time of day, which decides whether an
// occurrence on the last day belongs to the series.
#include <QAbstractButton>
#include <QCalendarWidget>
#include <QDateTimeEdit>

#include "backend_fixture.h"
#include "platform/qt/qt_dialog.h"
#include "res/command_ids.h"
#include "store/repeat_dialog.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

struct PickedUntil {
  int year, month, day;  // the entry, weekly at 10:00
  int untilMonth, untilDay;
  std::vector<int> occurrenceDays;  // day numbers of the generated occurrences
};

class RepeatDialogQtTest : public QtBackendTest,
                           public ::testing::WithParamInterface<PickedUntil> {};

TEST_P(RepeatDialogQtTest, TheUntilDatePickedKeepsTheEntrysTimeOfDay) {
  const PickedUntil& p = GetParam();
  TestApp app(p.year, p.month, 1, 8, 0);
  app.ctx.ui = &ui;
  CPlannerEntry& entry = app.AddEntry(p.year, p.month, p.day, 10, 0, "Gym");
  CRepeatDlg dialog(app.ctx);
  dialog.Prepare(p.year, p.month, p.day, 10, 0, 0, "Gym");
  dialog.SetRule(0);
  ui.Post([&] {
    auto* window = dynamic_cast<QtTemplateDialog*>(QApplication::activeModalWidget());
    if (window == nullptr) {
      ADD_FAILURE() << "no dialog is running";
      return;
    }
    qobject_cast<QAbstractButton*>(window->Control(res::kIdRepeatWeekly))->click();
    auto* picker = qobject_cast<QDateTimeEdit*>(window->Control(res::kIdRepeatUntil));
    EXPECT_EQ(picker->dateTime(), QDateTime(QDate(p.year + 1, p.month, p.day), QTime(10, 0)));
    // A day clicked in the picker's calendar.
    const QDate picked(p.year, p.untilMonth, p.untilDay);
    picker->calendarWidget()->setSelectedDate(picked);
    Q_EMIT picker->calendarWidget()->clicked(picked);
    EXPECT_EQ(picker->date(), picked);
    qobject_cast<QAbstractButton*>(window->Control(kIdOk))->click();
  });
  ASSERT_EQ(dialog.DoModal(nullptr), kIdOk);
  const RepeatChoice choice = dialog.Result();
  EXPECT_EQ(choice.code, kEveryWeek);
  EXPECT_EQ(choice.until, MakeLocalTime(p.year, p.untilMonth, p.untilDay, 10, 0));

  ApplyRepeatChoice(entry, choice);
  std::vector<int> days;
  for (CPlannerEntry* e : app.ctx.entries.Entries())
    if (e != &entry) days.push_back(e->day());
  EXPECT_EQ(days, p.occurrenceDays);
  ExpectScriptDone(app.boxes);
}

INSTANTIATE_TEST_SUITE_P(Weekly, RepeatDialogQtTest,
                         ::testing::Values(
                             // The last occurrence's time equals until: it belongs to the series.
                             PickedUntil{2000, 1, 4, 2, 1, {11, 18, 25, 1}},
                             // Daylight saving begins on 2 April: until stays at 10:00 local time.
                             PickedUntil{2000, 3, 15, 4, 5, {22, 29, 5}}));

}  // namespace
}  // namespace vesk::test
