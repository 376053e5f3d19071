#pragma once
// Printing on Qt: the program keeps one QPrinter for the whole run (the
// printer, paper and orientation chosen in the set-up or the last print
// dialog), and a print job draws on it. Pages use a logical resolution of 96
// units per inch, so the program's pixel coordinates give a page of the size
// they give on the screen.
#include <QImage>
#include <QPainter>
#include <memory>

#include "platform/ui.h"

class QPrinter;

namespace vesk {

class QtCanvas;

// What the program keeps of a printer.
PrinterSettings PrinterSettingsOf(const QPrinter& printer);
// Gives the printer the settings; a printer name that is not installed leaves
// the printer as it is, and the paper and orientation apply all the same.
void ApplyPrinterSettings(QPrinter& printer, const PrinterSettings& settings);

class QtPrintJob : public PrintJob {
 public:
  // Prints pages first..last on printer, which must not be printing yet and
  // must outlive the job.
  QtPrintJob(QPrinter& printer, int first, int last);
  ~QtPrintJob() override;

  int FirstPage() const override { return first_; }
  int LastPage() const override { return last_; }
  Canvas& BeginPage() override;
  void EndPage() override;
  bool End() override;

 private:
  QPrinter& printer_;
  int first_;
  int last_;
  QPainter painter_;
  // Where pages go when the printer cannot be opened: End then reports failure.
  QImage scratch_;
  bool started_ = false;
  bool failed_ = false;
  std::unique_ptr<QtCanvas> canvas_;
};

}  // namespace vesk
