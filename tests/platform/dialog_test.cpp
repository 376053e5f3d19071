// Modal dialogs: data exchange with the standard validation messages, and
// the headless twin's dialog scripts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"

namespace vesk::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

enum : int {
  kMinutes = 1053,
  kText = 1054,
  kEnabled = 1063,
  kDaily = 1023,
  kWeekly = 1024,
  kMonthly = 1017,
  kSlider = 1073,
  kUntil = 1080,
  kHelp = 3,
};

DialogTemplate MakeTemplate() {
  DialogTemplate t;
  t.id = 147;
  t.caption = "Configure";
  auto add = [&](ControlKind kind, int id, bool groupStart = false) {
    ControlTemplate c;
    c.kind = kind;
    c.id = id;
    c.groupStart = groupStart;
    t.controls.push_back(c);
  };
  add(ControlKind::DefaultButton, kIdOk);
  add(ControlKind::Button, kIdCancel);
  add(ControlKind::Button, kHelp);
  add(ControlKind::Edit, kText);
  add(ControlKind::Edit, kMinutes);
  add(ControlKind::CheckBox, kEnabled);
  add(ControlKind::GroupBox, -1);
  add(ControlKind::RadioButton, kDaily, true);
  add(ControlKind::RadioButton, kWeekly);
  add(ControlKind::RadioButton, kMonthly);
  add(ControlKind::Static, -1);
  add(ControlKind::Slider, kSlider);
  add(ControlKind::DateTimePicker, kUntil);
  return t;
}

// Reads every field on each change of the minutes edit, as the countdown and
// reminder dialogs do.
class FieldsDialog : public Dialog {
 public:
  FieldsDialog(Ui& ui, const DialogTemplate& t) : Dialog(ui, t) {}

  void DoDataExchange(DataExchange& dx) override {
    dx.Text(kText, text, 60);
    dx.IntRange(kMinutes, minutes, 1, 300);
    dx.Check(kEnabled, enabled);
    dx.Radio(kDaily, rule);
    dx.SliderPos(kSlider, slider);
    dx.Date(kUntil, until);
  }
  bool OnInitDialog() override {
    controls().SetRange(kSlider, 1, 300);
    return Dialog::OnInitDialog();
  }
  void OnCommand(int id, int code) override {
    if (id == kMinutes && code == kEnChange) {
      UpdateData(true);
      return;
    }
    if (id == kHelp) ++helpClicks;
    Dialog::OnCommand(id, code);
  }
  void OnHScroll(int /*id*/, int pos) override { minutes = pos; }

  std::string text;
  int minutes = 1;
  int enabled = 1;
  int rule = 1;
  int slider = 5;
  DateTime until{2000, 3, 15, 10, 0, 0, 4};
  int helpClicks = 0;
};

class DialogTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_THAT(ui.boxes().unexpected(), IsEmpty());
    EXPECT_THAT(ui.boxes().Pending(), IsEmpty());
  }
  HeadlessUi ui;
  DialogTemplate tmpl = MakeTemplate();
  FieldsDialog dialog{ui, tmpl};
};

TEST_F(DialogTest, FieldsGoToTheControlsAtStartAndComeBackOnOk) {
  ui.ScriptDialog(147, [](HeadlessDialog& d) {
    EXPECT_EQ(d.controls().Text(kMinutes), "1");
    EXPECT_TRUE(d.controls().IsChecked(kEnabled));
    EXPECT_TRUE(d.controls().IsChecked(kWeekly));
    EXPECT_EQ(d.controls().Pos(kSlider), 5);
    d.SetText(kText, "tea");
    d.SetText(kMinutes, " 42 ");
    d.Click(kEnabled);
    d.Click(kMonthly);
    d.SetDate(kUntil, {2001, 1, 2, 3, 4, 0, 3});
    EXPECT_FALSE(d.controls().IsChecked(kWeekly));
    d.Click(kIdOk);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), kIdOk);
  EXPECT_EQ(dialog.text, "tea");
  EXPECT_EQ(dialog.minutes, 42);
  EXPECT_EQ(dialog.enabled, 0);
  EXPECT_EQ(dialog.rule, 2);
  EXPECT_EQ(dialog.until, (DateTime{2001, 1, 2, 3, 4, 0, 3}));
  ASSERT_EQ(ui.dialogRuns().size(), 1u);
  EXPECT_EQ(ui.dialogRuns()[0].templateId, 147);
  EXPECT_EQ(ui.dialogRuns()[0].result, kIdOk);
  EXPECT_EQ(ui.dialogRuns()[0].title, "Configure");
  EXPECT_THAT(ui.failures(), IsEmpty());
}

TEST_F(DialogTest, IntegerInputIsValidatedWithTheStandardMessages) {
  struct Row {
    const char* typed;
    const char* message;  // empty: accepted
    int minutes;          // the field afterwards (it starts at 1)
  };
  const Row rows[] = {
      {"7", "", 7},
      {"  +12\t", "", 12},
      {"", "Please enter an integer.", 1},
      {"-", "Please enter an integer.", 1},
      {"4 2", "Please enter an integer.", 1},
      {"12x", "Please enter an integer.", 1},
      {"0x10", "Please enter an integer.", 1},
      // Out of range: the number is taken into the field before the message.
      {"500", "Please enter an integer between 1 and 300.", 500},
      {"-3", "Please enter an integer between 1 and 300.", -3},
      {"99999999999", "Please enter an integer between 1 and 300.", 2147483647},
  };
  for (const Row& row : rows) {
    HeadlessUi rowUi;
    FieldsDialog d(rowUi, tmpl);
    if (*row.message != '\0') rowUi.boxes().Expect(row.message);
    rowUi.ScriptDialog(147, [&](HeadlessDialog& hd) {
      hd.SetText(kMinutes, row.typed);
      if (*row.message != '\0') {
        EXPECT_EQ(hd.controls().focus(), kMinutes) << row.typed;
      }
      hd.Click(kIdCancel);
    });
    d.DoModal(nullptr);
    EXPECT_EQ(d.minutes, row.minutes) << row.typed;
    EXPECT_THAT(rowUi.boxes().unexpected(), IsEmpty()) << row.typed;
    EXPECT_THAT(rowUi.boxes().Pending(), IsEmpty()) << row.typed;
  }
}

TEST_F(DialogTest, TextLongerThanItsMaximumIsTakenAndReported) {
  ui.boxes().Expect("Please enter no more than 60 characters.");
  ui.ScriptDialog(147, [](HeadlessDialog& d) {
    d.SetText(kText, std::string(60, 'e'));
    d.SetText(kMinutes, "3");  // 60 characters pass
    d.SetText(kText, "\xc3\xa9" + std::string(60, 'e'));
    d.SetText(kMinutes, "4");  // 61 do not; the exchange stops before minutes
    d.Click(kIdCancel);
  });
  dialog.DoModal(nullptr);
  EXPECT_EQ(dialog.text, "\xc3\xa9" + std::string(60, 'e'));
  EXPECT_EQ(dialog.minutes, 3);
}

TEST_F(DialogTest, OkStaysOpenUntilTheFieldsAreValid) {
  ui.boxes().Expect("Please enter an integer.");
  ui.ScriptDialog(147, [](HeadlessDialog& d) {
    d.controls().SetText(kMinutes, "x");  // set without a change notification
    d.Click(kIdOk);
    EXPECT_TRUE(d.dialog().IsRunning());
    d.SetText(kMinutes, "9");
    d.Click(kIdOk);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), kIdOk);
  EXPECT_EQ(dialog.minutes, 9);
}

TEST_F(DialogTest, ADateThePickerCannotShowFailsWithoutAMessage) {
  ui.ScriptDialog(147, [&](HeadlessDialog& d) {
    d.controls().Find(kUntil)->date.reset();
    EXPECT_FALSE(d.dialog().UpdateData(true));
    EXPECT_EQ(d.controls().focus(), kUntil);
    d.Click(kIdCancel);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), kIdCancel);
  EXPECT_THAT(ui.boxes().shown(), IsEmpty());
}

TEST_F(DialogTest, SlidersKeepToTheirRange) {
  ui.ScriptDialog(147, [](HeadlessDialog& d) {
    d.Slide(kSlider, 1000);
    EXPECT_EQ(d.controls().Pos(kSlider), 300);
    d.Click(kIdCancel);
  });
  dialog.DoModal(nullptr);
  EXPECT_EQ(dialog.minutes, 300);
}

TEST_F(DialogTest, ScriptMistakesAreRecordedAsFailures) {
  // No script at all.
  EXPECT_EQ(dialog.DoModal(nullptr), kIdCancel);
  // A script that leaves the dialog running, after using controls the user could not.
  ui.ScriptDialog(147, [](HeadlessDialog& d) {
    d.controls().Enable(kHelp, false);
    d.Click(kHelp);
    d.Click(9999);
    d.SetText(kEnabled, "not an edit");
  });
  EXPECT_EQ(dialog.DoModal(nullptr), kIdCancel);
  EXPECT_EQ(dialog.helpClicks, 0);
  // Acting after the end.
  ui.ScriptDialog(147, [](HeadlessDialog& d) {
    d.Click(kIdCancel);
    d.Click(kIdOk);
  });
  dialog.DoModal(nullptr);
  EXPECT_THAT(ui.failures(),
              ElementsAre("dialog 147 ran without a script",
                          "dialog 147: clicking control 3, which is disabled",
                          "dialog 147: clicking control 9999, which does not exist",
                          "dialog 147: typing into control 1063, which is not of that kind",
                          "dialog 147 was left running by its script",
                          "dialog 147: clicking control 1 after the dialog ended"));
  EXPECT_EQ(ui.dialogRuns().back().result, kIdCancel);
}

TEST_F(DialogTest, ScriptsServeTheirOwnTemplateInOrder) {
  std::vector<int> order;
  ui.ScriptDialog(147, [&](HeadlessDialog& d) {
    order.push_back(1);
    d.Click(kIdOk);
  });
  ui.ScriptDialog(200, [&](HeadlessDialog& d) { d.Click(kIdCancel); });
  ui.ScriptDialog(147, [&](HeadlessDialog& d) {
    order.push_back(2);
    d.Click(kIdCancel);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), kIdOk);
  EXPECT_EQ(dialog.DoModal(nullptr), kIdCancel);
  EXPECT_THAT(order, ElementsAre(1, 2));
  EXPECT_THAT(ui.PendingDialogScripts(), ElementsAre(200));
}

TEST(DialogTemplateTest, RadioGroupsRunFromTheirStartToTheNextGroupOrOtherControl) {
  DialogTemplate t = MakeTemplate();
  ControlTemplate second;
  second.kind = ControlKind::RadioButton;
  second.id = 50;
  second.groupStart = true;
  t.controls.insert(t.controls.begin() + 10, second);  // after kMonthly
  EXPECT_THAT(t.RadioGroup(kWeekly), ElementsAre(kDaily, kWeekly, kMonthly));
  EXPECT_THAT(t.RadioGroup(50), ElementsAre(50));
  EXPECT_THAT(t.RadioGroup(kText), IsEmpty());
}

}  // namespace
}  // namespace vesk::test
