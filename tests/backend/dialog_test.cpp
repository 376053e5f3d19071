#include "platform/dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPalette>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>

#include "backend_fixture.h"
#include "platform/qt/qt_dialog.h"

namespace vesk::test {
namespace {

using DialogTest = QtBackendTest;

DialogTemplate CountdownLike() {
  DialogTemplate t;
  t.id = 151;
  t.caption = "Countdown Timer";
  t.width = 210;
  t.height = 70;
  t.controls = {
      {ControlKind::DefaultButton, 1, "OK", Rect::FromSize(163, 4, 39, 13)},
      {ControlKind::Button, 2, "Cancel", Rect::FromSize(163, 22, 39, 13)},
      {ControlKind::Edit, 1066, "", Rect::FromSize(7, 19, 19, 12), false, true},
      {ControlKind::Slider, 1065, "", Rect::FromSize(29, 19, 127, 12)},
      {ControlKind::Static, -1,
       " Minutes until timer expires (1 - 300):", Rect::FromSize(32, 6, 120, 8)},
      {ControlKind::RadioButton, 10, "&One", Rect::FromSize(7, 40, 40, 10), true},
      {ControlKind::RadioButton, 11, "&Two", Rect::FromSize(50, 40, 40, 10)},
      {ControlKind::RadioButton, 12, "&Day", Rect::FromSize(7, 52, 40, 10), true},
      {ControlKind::RadioButton, 13, "&Week", Rect::FromSize(50, 52, 40, 10)},
      {ControlKind::DateTimePicker, 20, "", Rect::FromSize(100, 40, 60, 12)},
  };
  return t;
}

// Reads the minutes on OK; the test drives it from a posted action.
class MinutesDialog : public Dialog {
 public:
  using Dialog::Dialog;
  bool OnInitDialog() override {
    controls().SetRange(1065, 1, 300);
    return Dialog::OnInitDialog();
  }
  void DoDataExchange(DataExchange& dx) override {
    dx.IntRange(1066, minutes, 1, 300);
    dx.SliderPos(1065, slider);
    dx.Radio(10, first);
    dx.Radio(12, second);
    dx.Date(20, date);
  }
  void OnCommand(int id, int code) override {
    commands.push_back({id, code});
    Dialog::OnCommand(id, code);
  }
  void OnHScroll(int id, int pos) override { scrolls.push_back({id, pos}); }
  int minutes = 5;
  int slider = 5;
  int first = 1;
  int second = 0;
  DateTime date{2000, 3, 15, 0, 0, 0, 4};
  std::vector<std::pair<int, int>> commands;
  std::vector<std::pair<int, int>> scrolls;
};

TEST(DialogUnitsTest, ConvertEachEdgeWithTheBaseUnits) {
  const DialogUnits units{6, 13};
  EXPECT_EQ(units.ToPixels(Rect::FromSize(163, 4, 39, 13)), QRect(245, 7, 58, 21));
  EXPECT_EQ(units.ToPixels(Rect::FromSize(7, 19, 19, 12)), QRect(11, 31, 28, 19));
  EXPECT_EQ(units.ToPixels(Rect{0, 0, 0, 0}), QRect(0, 0, 0, 0));
}

TEST_F(DialogTest, ControlsSitAtTheirDialogUnitPositions) {
  const DialogTemplate t = CountdownLike();
  MinutesDialog dialog(ui, t);
  QtTemplateDialog window(dialog, nullptr, ui.icons());
  const DialogUnits units = DialogUnitsFor(DialogFontFor(t));
  ASSERT_GT(units.baseX, 0);
  ASSERT_GT(units.baseY, 0);
  EXPECT_EQ(window.size(), units.ToPixels(Rect{0, 0, 210, 70}).size());
  EXPECT_EQ(window.windowTitle(), "Countdown Timer");
  for (const ControlTemplate& c : t.controls) {
    if (c.id == -1) continue;
    QWidget* control = window.Control(c.id);
    ASSERT_NE(control, nullptr) << c.id;
    EXPECT_EQ(control->geometry(), units.ToPixels(c.dlu)) << c.id;
  }
  EXPECT_NE(qobject_cast<QSlider*>(window.Control(1065)), nullptr);
  EXPECT_NE(qobject_cast<QLineEdit*>(window.Control(1066))->validator(), nullptr);
  // Two radio groups, each starting at its first button.
  EXPECT_EQ(window.GroupOf(window.Control(10)), window.GroupOf(window.Control(11)));
  EXPECT_NE(window.GroupOf(window.Control(11)), window.GroupOf(window.Control(12)));
  EXPECT_TRUE(qobject_cast<QDateTimeEdit*>(window.Control(20))->calendarPopup());
}

TEST_F(DialogTest, DatePickerOffersOnlyTheYearsTheProgramHolds) {
  const DialogTemplate t = CountdownLike();
  MinutesDialog dialog(ui, t);
  QtTemplateDialog window(dialog, nullptr, ui.icons());
  auto* picker = qobject_cast<QDateTimeEdit*>(window.Control(20));
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(picker->minimumDate(), QDate(kFirstPickerYear, 1, 1));
  EXPECT_EQ(picker->maximumDate(), QDate(kLastPickerYear, 12, 31));
  EXPECT_EQ(picker->displayFormat(), QLocale().dateFormat(QLocale::LongFormat));
  // What the user types or picks beyond the range stops at its ends.
  picker->setDate(QDate(2040, 6, 1));
  EXPECT_EQ(picker->date(), QDate(2036, 12, 31));
  picker->setDate(QDate(1970, 1, 2));
  EXPECT_EQ(picker->date(), QDate(1990, 1, 1));
}

TEST_F(DialogTest, RunsModallyUntilAHandlerEndsIt) {
  const DialogTemplate t = CountdownLike();
  MinutesDialog dialog(ui, t);
  ui.Post([&] {
    auto* window = dynamic_cast<QtTemplateDialog*>(QApplication::activeModalWidget());
    if (window == nullptr) {
      ADD_FAILURE() << "no dialog is running";
      return;
    }
    // What data exchange wrote is shown, without reporting it as an edit.
    EXPECT_EQ(qobject_cast<QLineEdit*>(window->Control(1066))->text(), "5");
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(window->Control(11))->isChecked());
    EXPECT_EQ(qobject_cast<QDateTimeEdit*>(window->Control(20))->date(), QDate(2000, 3, 15));
    qobject_cast<QLineEdit*>(window->Control(1066))->setText("42");
    qobject_cast<QSlider*>(window->Control(1065))->setValue(77);
    qobject_cast<QAbstractButton*>(window->Control(12))->click();
    qobject_cast<QDateTimeEdit*>(window->Control(20))->setDate(QDate(2001, 7, 1));
    qobject_cast<QAbstractButton*>(window->Control(kIdOk))->click();
  });
  EXPECT_EQ(dialog.DoModal(nullptr), kIdOk);
  EXPECT_EQ(dialog.minutes, 42);
  EXPECT_EQ(dialog.slider, 77);
  EXPECT_EQ(dialog.first, 1);
  EXPECT_EQ(dialog.second, 0);
  EXPECT_EQ(dialog.date, (DateTime{2001, 7, 1, 0, 0, 0, 1}));  // a Sunday
  EXPECT_EQ(dialog.commands,
            (std::vector<std::pair<int, int>>{{1066, kEnChange}, {12, 0}, {kIdOk, 0}}));
  EXPECT_EQ(dialog.scrolls, (std::vector<std::pair<int, int>>{{1065, 77}}));
}

TEST_F(DialogTest, DialogsAndMessageBoxesWearTheProgramsDialogColours) {
  ui.SetDialogColors(Rgb(255, 255, 0), Rgb(0, 0, 128));
  const DialogTemplate t = CountdownLike();
  MinutesDialog dialog(ui, t);
  QColor dialogBack, boxBack, boxText;
  ui.Post([&] {
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr) return;
    dialogBack = window->palette().color(QPalette::Window);
    ui.Post([&] {
      QWidget* box = QApplication::activeModalWidget();
      if (box == nullptr) return;
      boxBack = box->palette().color(QPalette::Window);
      boxText = box->palette().color(QPalette::WindowText);
      qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    ui.Show("Colours", MbButtons::Ok);
    QMetaObject::invokeMethod(window, "reject");
  });
  dialog.DoModal(nullptr);
  EXPECT_EQ(dialogBack, QColor(255, 255, 0));
  EXPECT_EQ(boxBack, QColor(255, 255, 0));
  EXPECT_EQ(boxText, QColor(0, 0, 128));
}

TEST_F(DialogTest, ACentredDialogStandsInTheMiddleOfTheScreen) {
  // Its owner sits in a corner, where Qt would otherwise put the dialog.
  RecordingWindow owner(ui);
  WindowSpec spec = Spec("Owner", {0, 0, 200, 100});
  spec.visible = true;
  ASSERT_TRUE(owner.Create(spec));
  DialogTemplate t = CountdownLike();
  t.centered = true;
  MinutesDialog dialog(ui, t);
  QPoint centre;
  ui.Post([&] {
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr) return;
    centre = window->geometry().center();
    QMetaObject::invokeMethod(window, "reject");
  });
  dialog.DoModal(&owner);
  const QPoint screen = QGuiApplication::primaryScreen()->availableGeometry().center();
  EXPECT_LE((centre - screen).manhattanLength(), 2) << centre.x() << "," << centre.y();
}

TEST_F(DialogTest, EscapeIsTheCancelCommand) {
  const DialogTemplate t = CountdownLike();
  MinutesDialog dialog(ui, t);
  ui.Post([] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  EXPECT_EQ(dialog.DoModal(nullptr), kIdCancel);
  EXPECT_EQ(dialog.commands, (std::vector<std::pair<int, int>>{{kIdCancel, 0}}));
  EXPECT_FALSE(dialog.IsRunning());
}

}  // namespace
}  // namespace vesk::test
