// File, Setup on the Qt backend: each dialog opens from its menu item, the
// kept printer, and sounds that cannot be heard say nothing on the terminal.
#include <fcntl.h>
#include <unistd.h>

#include <QAction>
#include <QDeadlineTimer>
#include <QMenu>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/default_sounds.h"
#include "main_frame_fixture.h"
#include "platform/qt/qt_dialog.h"
#include "platform/qt/qt_sound.h"
#include "platform/sqlite/sqlite_registry.h"
#include "res/setup_dialogs.h"

namespace vesk::test {
namespace {

using SetupQtTest = MainFrameQtTest;

// Everything written to stderr while fn runs.
template <typename Fn>
std::string StderrOf(Fn fn) {
  TempDir dir;
  const std::string file = dir.path() + "/stderr";
  std::fflush(stderr);
  const int saved = ::dup(STDERR_FILENO);
  const int out = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ::dup2(out, STDERR_FILENO);
  ::close(out);
  fn();
  std::fflush(stderr);
  ::dup2(saved, STDERR_FILENO);
  ::close(saved);
  std::ostringstream text;
  text << std::ifstream(file).rdbuf();
  return text.str();
}

TEST_F(SetupQtTest, EachDialogOpensFromItsMenuItemWithItsCaptionAndControls) {
  Start();
  const std::pair<QString, const DialogTemplate*> rows[] = {
      {"&Color", &res::ColorSetupDialogTemplate()},
      {"&Sound", &res::SoundsDialogTemplate()},
      {"&Advanced", &res::AdvancedDialogTemplate()},
      {"&Printer", nullptr},  // the desktop's print dialog, titled for set-up
  };
  QList<QAction*> actions = NativeOf(frame()).frameWidget()->findChildren<QAction*>();
  for (const auto& [text, tmpl] : rows) {
    SCOPED_TRACE(text.toStdString());
    auto item =
        std::find_if(actions.begin(), actions.end(), [&](QAction* a) { return a->text() == text; });
    ASSERT_NE(item, actions.end());
    emit qobject_cast<QMenu*>((*item)->parent())->aboutToShow();
    ASSERT_TRUE((*item)->isEnabled());
    QString title;
    QTimer::singleShot(0, [&, tmpl] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      title = dialog->windowTitle();
      if (auto* built = dynamic_cast<QtTemplateDialog*>(dialog)) {
        for (const ControlTemplate& c : tmpl->controls) {
          EXPECT_TRUE(c.id == -1 || built->Control(c.id)->isVisible() != c.hidden) << c.id;
        }
      }
      // Esc: the colour dialog's button 2 is "Background", yet Esc cancels it.
      dialog->reject();
    });
    (*item)->trigger();
    EXPECT_EQ(title.toStdString(), tmpl != nullptr ? tmpl->caption : "Print Setup");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

// A stored printer that is gone gives way to the default one without a word;
// the paper and orientation stored with it hold, and a print job starts from them.
TEST_F(SetupQtTest, TheNextPrintJobStartsFromTheKeptPrinter) {
  if (QStandardPaths::findExecutable("pdfinfo").isEmpty()) GTEST_SKIP() << "no pdfinfo";
  const PrinterSettings gone{
      .name = "Printer long gone", .paperWidth = 2100, .paperHeight = 2970, .landscape = true};
  PrinterSettings fallback = gone;
  fallback.name = QPrinterInfo::defaultPrinterName().toStdString();
  EXPECT_EQ(StderrOf([&] {
              ui.SetPrinter(gone);
              EXPECT_EQ(ui.Printer(), fallback);
            }),
            "");

  const std::string pdf = temp.path() + "/kept.pdf";
  bool seen = false;
  AnswerPrintDialogWithPdf(ui, pdf, seen);
  std::unique_ptr<PrintJob> job = ui.BeginPrint(1, "Day Planner");
  ASSERT_NE(job, nullptr);
  job->BeginPage().TextOut(20, 20, "A4 across");
  job->EndPage();
  ASSERT_TRUE(job->End());
  EXPECT_TRUE(seen);
  QProcess info;
  info.start("pdfinfo", {QString::fromStdString(pdf)});
  ASSERT_TRUE(info.waitForFinished(30'000));
  const QString text = info.readAllStandardOutput();
  const QRegularExpressionMatch size =
      QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts \(A4\))").match(text);
  ASSERT_TRUE(size.hasMatch()) << text.toStdString();
  EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "landscape";
}

// The record locks this process holds (the store's, on its files).
int LocksHeld() {
  std::ifstream locks("/proc/locks");
  const std::string pid = " " + std::to_string(::getpid()) + " ";
  int held = 0;
  for (std::string line; std::getline(locks, line);) held += line.find(pid) != std::string::npos;
  return held;
}

// A chooser that read the store's files to tell their type would release the
// locks when closing them, and another process could then delete the store's log.
TEST_F(QtBackendTest, BrowsingTheStoresFolderKeepsTheStoresLocks) {
  TempDir dir;
  auto store = SqliteRegistry::Open(std::filesystem::path(dir.path()) / "veskcal.db");
  ASSERT_TRUE(store.has_value()) << store.error();
  (*store)->CreateKey("SOFTWARE\\Tolvard");
  ASSERT_TRUE(WriteDefaultSounds(dir.path()));
  const int held = LocksHeld();
  ASSERT_GT(held, 0);
  QTimer::singleShot(0, [] {
    QDeadlineTimer listed(1000);  // the folder is listed on a thread of its own
    while (!listed.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (QWidget* chooser = QApplication::activeModalWidget()) chooser->close();
  });
  EXPECT_EQ(ui.ChooseOpenFile("Sound", "Wave files (*.wav)|*.wav||", dir.path(), "Pick.wav"),
            std::nullopt);
  EXPECT_EQ(LocksHeld(), held);
}

TEST(SoundQtTest, SoundsThatCannotBePlayedSayNothing) {
  TempDir dir;
  ASSERT_TRUE(WriteDefaultSounds(dir.path()));
  EXPECT_EQ(StderrOf([&] {
              QtSound sound;
              for (const char* name : {"/Pick.wav", "/missing.wav", ""}) {
                sound.Play(dir.path() + name);
              }
              sound.Beep();
              QThread::msleep(300);  // playback runs on libcanberra's own thread
            }),
            "");
}

}  // namespace
}  // namespace vesk::test
