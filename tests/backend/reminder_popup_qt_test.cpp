// The reminder pop-up on the Qt backend: its window, its painting, and its
// place beside a dialog of its owner.
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "backend_fixture.h"
#include "platform/dialog.h"
#include "reminders/reminder_wnd.h"
#include "res/app_dialogs.h"
#include "store/app_context.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

constexpr Color kEven = Rgb(255, 255, 0);
constexpr Color kOdd = Rgb(200, 255, 200);
constexpr Color kFore = Rgb(0, 0, 128);

class ReminderPopupQtTest : public QtBackendTest {
 protected:
  ReminderPopupQtTest() {
    app.ctx.ui = &ui;
    owner.Create(Spec("Owner", Rect::FromSize(300, 300, 200, 100)));
  }
  ReminderWnd* Show(int hour, std::string text) {
    ReminderWnd* popup = ShowReminder(app.ctx, {&owner, mainFont.get(), &colors},
                                      ContentOf({.hour = hour, .text = std::move(text)}));
    Flush();
    return popup;
  }

  TestApp app;
  Window owner{ui};
  std::unique_ptr<Font> mainFont = ui.CreateFont(FontRecord::DefaultMain());
  ColorSet colors{.fore = kFore, .dayplan1 = kEven, .dayplan2 = kOdd};
};

TEST_F(ReminderPopupQtTest, ATopmostWindowPaintedInTheHoursColour) {
  ReminderWnd* popup = Show(13, "Dentist");
  ASSERT_NE(popup, nullptr);
  QWidget* frame = NativeOf(*popup).frameWidget();
  EXPECT_EQ(frame->windowTitle(), "VeskCal - 1:00pm");
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(frame->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_EQ(popup->WindowRect().Width(), 260);

  const QImage image = Grab(*popup);
  EXPECT_EQ(QColor(image.pixel(3, 3)), QColor(200, 255, 200));
  EXPECT_EQ(QColor(image.pixel(image.width() - 3, image.height() - 3)), QColor(200, 255, 200));
}

TEST_F(ReminderPopupQtTest, APopUpTakesInputWhileADialogOfItsOwnerRuns) {
  bool closedDuringDialog = false;
  QTimer::singleShot(0, [&] {
    ReminderWnd* popup = Show(9, "Standup");
    ASSERT_NE(popup, nullptr);
    const WindowRef ref = popup->Ref();
    // A key through the window system, as the user's would come: a window
    // blocked by the dialog would not get it.
    QTest::keyClick(NativeOf(*popup).frameWidget()->windowHandle(), Qt::Key_Escape);
    Flush();
    closedDuringDialog = ref.get() == nullptr;
    if (QWidget* dialog = QApplication::activeModalWidget())
      static_cast<QDialog*>(dialog)->reject();
  });
  Dialog about(ui, res::AboutDialogTemplate());
  about.DoModal(&owner);
  EXPECT_TRUE(closedDuringDialog);
}

}  // namespace
}  // namespace vesk::test
