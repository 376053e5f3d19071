#pragma once
// The desktop services of the headless twin that outlive a call: the tray
// icon and a print job. Both report to the HeadlessUi that made them.
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/recording_canvas.h"
#include "platform/ui.h"

namespace vesk {

class HeadlessUi;

// How the scripted print dialog answers: the page range chosen (lastPage 0:
// the document's last page), and whether writing the output fails at the end.
struct PrintAnswer {
  int firstPage = 1;
  int lastPage = 0;
  bool failEnd = false;
};

// One print dialog shown, and what the job printed on each page.
struct PrintedJob {
  std::string documentName;
  int pageCount = 0;
  bool started = false;     // the dialog was confirmed
  PrinterSettings printer;  // what the dialog showed, and printed on when confirmed
  int firstPage = 0, lastPage = 0;
  std::vector<std::vector<CanvasOp>> pages;
  bool ended = false;
  bool endResult = false;
};

class HeadlessPrintJob : public PrintJob {
 public:
  HeadlessPrintJob(HeadlessUi& ui, std::size_t jobIndex, bool failEnd)
      : ui_(ui), index_(jobIndex), failEnd_(failEnd) {}

  int FirstPage() const override;
  int LastPage() const override;
  Canvas& BeginPage() override;
  void EndPage() override;
  bool End() override;

 private:
  PrintedJob& job() const;
  HeadlessUi& ui_;
  std::size_t index_;
  bool failEnd_;
  std::unique_ptr<RecordingCanvas> page_;
};

class HeadlessTrayIcon : public TrayIcon {
 public:
  HeadlessTrayIcon(HeadlessUi& ui, TrayHandler& handler, std::string tip);
  ~HeadlessTrayIcon() override;

  void SetTip(std::string_view tip) override;
  std::string Tip() const override { return tip_; }
  bool IsAvailable() const override;

  TrayHandler& handler() const { return handler_; }
  // How many times the tip was set after the icon was added.
  int tipChanges() const { return tipChanges_; }

 private:
  HeadlessUi& ui_;
  TrayHandler& handler_;
  std::string tip_;
  int tipChanges_ = 0;
};

}  // namespace vesk
