#include "platform/qt/qt_print.h"

#include <QPrinter>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_font.h"

namespace vesk {
namespace {

constexpr double kLogicalDpi = 96.0;
// A letter page at the logical resolution, for pages that go nowhere.
constexpr int kScratchWidth = 816;
constexpr int kScratchHeight = 1056;

}  // namespace

QtPrintJob::QtPrintJob(std::unique_ptr<QPrinter> printer, int first, int last)
    : printer_(std::move(printer)), first_(first), last_(last) {}

QtPrintJob::~QtPrintJob() { End(); }

Canvas& QtPrintJob::BeginPage() {
  canvas_.reset();
  if (!started_) {
    started_ = true;
    if (!painter_.begin(printer_.get())) {
      failed_ = true;
      scratch_ = QImage(kScratchWidth, kScratchHeight, QImage::Format_RGB32);
      painter_.begin(&scratch_);
    }
  } else if (!failed_) {
    printer_->newPage();
  }
  painter_.resetTransform();
  if (!failed_) {
    const double scale = printer_->resolution() / kLogicalDpi;
    painter_.scale(scale, scale);
  }
  canvas_ = std::make_unique<QtCanvas>(painter_, true, PrinterDefaultFont());
  return *canvas_;
}

void QtPrintJob::EndPage() { canvas_.reset(); }

bool QtPrintJob::End() {
  canvas_.reset();
  if (painter_.isActive() && !painter_.end()) failed_ = true;
  return !failed_;
}

}  // namespace vesk
