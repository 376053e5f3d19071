#pragma once
// A print job on a QPrinter (a printer or a PDF file). Pages use a logical
// resolution of 96 units per inch, so the program's pixel coordinates give a
// page of the size they give on the screen.
#include <QImage>
#include <QPainter>
#include <memory>

#include "platform/ui.h"

class QPrinter;

namespace vesk {

class QtCanvas;

class QtPrintJob : public PrintJob {
 public:
  // Prints pages first..last on printer, which must not be printing yet.
  QtPrintJob(std::unique_ptr<QPrinter> printer, int first, int last);
  ~QtPrintJob() override;

  int FirstPage() const override { return first_; }
  int LastPage() const override { return last_; }
  Canvas& BeginPage() override;
  void EndPage() override;
  bool End() override;

 private:
  std::unique_ptr<QPrinter> printer_;
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
