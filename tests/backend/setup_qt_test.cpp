// File, Setup on the Qt backend: each dialog opens from its menu item, the
// kept printer, and sounds that cannot be heard say nothing on the terminal.
#include <fcntl.h>
#include <unistd.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "app/default_sounds.h"
#include "main_frame_fixture.h"
#include "platform/qt/qt_dialog.h"
#include "platform/qt/qt_print.h"
#include "platform/qt/qt_sound.h"
#include "res/command_ids.h"
#include "res/setup_dialogs.h"

namespace vesk::test {
namespace {

using SetupQtTest = MainFrameQtTest;

// The menu item of the frame's menu bar with that text, its state brought up
// to date as when its menu opens.
QAction* MenuItem(QWidget& frame, const QString& text) {
  for (QAction* action : frame.findChildren<QAction*>()) {
    if (action->text() != text) continue;
    if (auto* menu = qobject_cast<QMenu*>(action->parent())) emit menu->aboutToShow();
    return action;
  }
  return nullptr;
}

// Everything written to stderr while fn runs.
template <typename Fn>
std::string StderrOf(Fn fn) {
  std::fflush(stderr);
  char name[] = "/tmp/veskcal-stderr-XXXXXX";
  const int file = ::mkstemp(name);
  const int saved = ::dup(STDERR_FILENO);
  ::dup2(file, STDERR_FILENO);
  fn();
  std::fflush(stderr);
  ::dup2(saved, STDERR_FILENO);
  ::close(saved);
  ::close(file);
  std::ifstream in(name);
  std::ostringstream text;
  text << in.rdbuf();
  ::unlink(name);
  return text.str();
}

TEST_F(SetupQtTest, EachDialogOpensFromItsMenuItemWithItsCaptionAndControls) {
  Start();
  struct Row {
    const char* item;
    const DialogTemplate& dialog;
  };
  const Row rows[] = {
      {"&Color", res::ColorSetupDialogTemplate()},
      {"&Sound", res::SoundsDialogTemplate()},
      {"&Advanced", res::AdvancedDialogTemplate()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.item);
    QAction* item = MenuItem(*NativeOf(frame()).frameWidget(), row.item);
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isEnabled());
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = dynamic_cast<QtTemplateDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      seen = true;
      EXPECT_EQ(dialog->windowTitle().toStdString(), row.dialog.caption);
      for (const ControlTemplate& c : row.dialog.controls) {
        if (c.id == -1) continue;
        QWidget* control = dialog->Control(c.id);
        ASSERT_NE(control, nullptr) << c.id;
        EXPECT_EQ(control->isVisible(), !c.hidden) << c.id;
        if (auto* button = qobject_cast<QPushButton*>(control)) {
          EXPECT_EQ(button->text().toStdString(), c.text);
        }
      }
      // Esc: the colour dialog's button 2 is "Background", yet Esc cancels it.
      static_cast<QDialog*>(dialog)->reject();
    });
    item->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

TEST_F(SetupQtTest, PrinterSetupIsThePrintDialogWithAnOkButton) {
  Start();
  QAction* item = MenuItem(*NativeOf(frame()).frameWidget(), "&Printer");
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(item->isEnabled());
  QString title;
  QString ok;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    title = dialog->windowTitle();
    for (QDialogButtonBox* buttons : dialog->findChildren<QDialogButtonBox*>()) {
      if (QPushButton* button = buttons->button(QDialogButtonBox::Ok)) ok = button->text();
    }
    dialog->reject();
  });
  item->trigger();
  EXPECT_EQ(title, "Print Setup");
  EXPECT_EQ(ok, "OK");
}

// A stored printer that is gone gives way to the default one without a word;
// the paper and orientation stored with it hold, and a print job starts from them.
TEST_F(SetupQtTest, TheNextPrintJobStartsFromTheKeptPrinter) {
  if (QStandardPaths::findExecutable("pdfinfo").isEmpty()) {
    GTEST_SKIP() << "pdfinfo (poppler-utils) is missing";
  }
  const std::string said = StderrOf([&] {
    ui.SetPrinter({.name = "Printer long gone", .paperWidth = 2100, .paperHeight = 2970,
                   .landscape = true});
    EXPECT_EQ(ui.Printer(), (PrinterSettings{.name = QPrinterInfo::defaultPrinterName().toStdString(),
                                             .paperWidth = 2100,
                                             .paperHeight = 2970,
                                             .landscape = true}));
  });
  EXPECT_EQ(said, "");

  const std::string pdf = temp.path() + "/kept.pdf";
  ui.KeptPrinter().setOutputFormat(QPrinter::PdfFormat);
  ui.KeptPrinter().setOutputFileName(QString::fromStdString(pdf));
  QTimer::singleShot(0, [] {
    if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
      dialog->accept();
    }
  });
  std::unique_ptr<PrintJob> job = ui.BeginPrint(1, "Day Planner");
  ASSERT_NE(job, nullptr);
  job->BeginPage().TextOut(20, 20, "A4 across");
  job->EndPage();
  ASSERT_TRUE(job->End());
  QProcess info;
  info.start("pdfinfo", {QString::fromStdString(pdf)});
  ASSERT_TRUE(info.waitForFinished(30'000));
  const QString text = info.readAllStandardOutput();
  const QRegularExpressionMatch size =
      QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts \(A4\))").match(text);
  ASSERT_TRUE(size.hasMatch()) << text.toStdString();
  EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "landscape";
}

TEST(SoundQtTest, SoundsThatCannotBePlayedSayNothing) {
  TempDir dir;
  ASSERT_TRUE(WriteDefaultSounds(dir.path()));
  const std::string said = StderrOf([&] {
    QtSound sound;
    sound.Play(dir.path() + "/Pick.wav");
    sound.Play(dir.path() + "/missing.wav");
    sound.Play(dir.path());  // a folder
    sound.Beep();
    // Playback runs on libcanberra's own thread.
    QThread::msleep(300);
  });
  EXPECT_EQ(said, "");
}

}  // namespace
}  // namespace vesk::test
