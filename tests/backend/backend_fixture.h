#pragma once
// A QtUi on the offscreen platform and windows that record what reaches them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/qt_ui.h"
#include "platform/qt/qt_window.h"
#include "platform/window.h"

namespace vesk::test {

// Records the handlers' calls as short texts ("key 65", "wheel -120").
class RecordingWindow : public Window {
 public:
  using Window::Window;

  bool OnKeyDown(int vk) override {
    calls.push_back("key " + std::to_string(vk));
    return true;
  }
  bool OnMouseWheel(int delta) override {
    calls.push_back("wheel " + std::to_string(delta));
    return true;
  }
  void OnLButtonDown(Point p) override {
    calls.push_back("down " + std::to_string(p.x) + "," + std::to_string(p.y));
  }
  void OnRButtonDown(Point p) override {
    calls.push_back("right " + std::to_string(p.x) + "," + std::to_string(p.y));
  }
  void OnVScroll(int code, int pos) override {
    calls.push_back("vscroll " + std::to_string(code) + " " + std::to_string(pos));
  }
  bool OnCommand(int id) override {
    calls.push_back("command " + std::to_string(id));
    return true;
  }
  void OnUpdateCommand(int id, CommandState& state) override {
    if (id == disabledCommand) state.enabled = false;
    if (id == checkedCommand) state.checked = true;
  }
  void OnControlNotify(int id, int code) override {
    calls.push_back("notify " + std::to_string(id) + " " + std::to_string(code));
  }
  bool OnMinimize() override {
    calls.push_back("minimize");
    return minimizeHandled;
  }
  void OnClose() override {
    calls.push_back("close");
    if (closeDestroys) Destroy();
  }
  void OnMove() override { calls.push_back("move"); }
  void OnPaint(Canvas& canvas) override {
    ++paints;
    if (paint) paint(canvas);
  }

  std::vector<std::string> calls;
  std::function<void(Canvas&)> paint;
  int paints = 0;
  int disabledCommand = 0;
  int checkedCommand = 0;
  bool minimizeHandled = true;
  bool closeDestroys = false;
};

// Runs the event loop until done() holds or a generous deadline passes.
template <typename Done>
bool RunUntil(Done done, int ms = 10'000) {
  QDeadlineTimer deadline(ms);
  while (!done() && !deadline.hasExpired()) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return done();
}

// The text of a PDF file as pdftotext gives it (pages end in a form feed).
inline std::string PdfText(const std::string& pdf) {
  QProcess process;
  process.start("pdftotext", {QString::fromStdString(pdf), "-"});
  if (!process.waitForFinished(30'000)) return {};
  return process.readAllStandardOutput().toStdString();
}

// Answers the next print dialog with a PDF file: without a printer the dialog
// prints to a file, and its name field decides which. seen tells whether a
// print dialog came.
inline void AnswerPrintDialogWithPdf(QtUi& ui, const std::string& pdf, bool& seen) {
  ui.Post([&seen, pdf] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    seen = true;
    for (QLineEdit* field : dialog->findChildren<QLineEdit*>()) {
      if (field->objectName() == "filename") field->setText(QString::fromStdString(pdf));
    }
    dialog->accept();
  });
}

class QtBackendTest : public ::testing::Test {
 protected:
  void TearDown() override { Flush(); }

  // Runs posted work and deletes what waits for deletion.
  static void Flush() {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  QtNativeWindow& NativeOf(Window& window) { return *ui.NativeOf(&window); }
  QWidget& ClientOf(Window& window) { return *NativeOf(window).clientWidget(); }
  // The client area as it shows on the screen now.
  QImage Grab(Window& window) { return ClientOf(window).grab().toImage(); }

  static WindowSpec Spec(std::string title, Rect rect, WindowStyle style = {}) {
    WindowSpec spec;
    spec.title = std::move(title);
    spec.rect = rect;
    spec.style = style;
    spec.visible = true;
    return spec;
  }

  QtUi ui;
};

}  // namespace vesk::test
