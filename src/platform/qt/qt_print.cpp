#include "platform/qt/qt_print.h"

#include <QDialogButtonBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_ui.h"

namespace vesk {
namespace {

constexpr double kLogicalDpi = 96.0;
// A letter page at the logical resolution, for pages that go nowhere.
constexpr int kScratchWidth = 816;
constexpr int kScratchHeight = 1056;
// Paper sizes are kept in tenths of a millimetre.
constexpr double kPaperUnitsPerMm = 10.0;

}  // namespace

PrinterSettings PrinterSettingsOf(const QPrinter& printer) {
  const QPageLayout layout = printer.pageLayout();
  const QSizeF paper = layout.pageSize().size(QPageSize::Millimeter);
  return {.name = ToStdString(printer.printerName()),
          .paperWidth = static_cast<int>(std::lround(paper.width() * kPaperUnitsPerMm)),
          .paperHeight = static_cast<int>(std::lround(paper.height() * kPaperUnitsPerMm)),
          .landscape = layout.orientation() == QPageLayout::Landscape};
}

void ApplyPrinterSettings(QPrinter& printer, const PrinterSettings& settings) {
  const QString name = ToQString(settings.name);
  // Asking only for installed printers keeps Qt from warning about the others.
  if (!name.isEmpty() && QPrinterInfo::availablePrinterNames().contains(name)) {
    printer.setPrinterName(name);
  }
  if (settings.paperWidth > 0 && settings.paperHeight > 0) {
    const QSizeF paper(settings.paperWidth / kPaperUnitsPerMm,
                       settings.paperHeight / kPaperUnitsPerMm);
    // A standard paper is known by its size, whatever the printer calls it.
    printer.setPageSize(QPageSize(paper, QPageSize::Millimeter, {}, QPageSize::FuzzyMatch));
  }
  printer.setPageOrientation(settings.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

QtPrintJob::QtPrintJob(QPrinter& printer, int first, int last)
    : printer_(printer), first_(first), last_(last) {}

QtPrintJob::~QtPrintJob() { End(); }

Canvas& QtPrintJob::BeginPage() {
  canvas_.reset();
  if (!started_) {
    started_ = true;
    if (!painter_.begin(&printer_)) {
      failed_ = true;
      scratch_ = QImage(kScratchWidth, kScratchHeight, QImage::Format_RGB32);
      painter_.begin(&scratch_);
    }
  } else if (!failed_) {
    printer_.newPage();
  }
  painter_.resetTransform();
  if (!failed_) {
    const double scale = printer_.resolution() / kLogicalDpi;
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

QPrinter& QtUi::KeptPrinter() {
  if (!printer_) {
    // Made when first needed: looking for printers can take a moment.
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (restoredPrinter_) ApplyPrinterSettings(*printer_, *restoredPrinter_);
    restoredPrinter_.reset();
  }
  return *printer_;
}

std::unique_ptr<PrintJob> QtUi::BeginPrint(int pageCount, std::string_view documentName) {
  QPrinter& printer = KeptPrinter();
  printer.setDocName(ToQString(documentName));
  // Each job starts with all its pages; the last job's range is no part of the printer.
  printer.setPrintRange(QPrinter::AllPages);
  printer.setFromTo(0, 0);
  pageCount = std::max(pageCount, 1);
  QPrintDialog dialog(&printer, DialogParent(ActiveWindow()));
  dialog.setMinMax(1, pageCount);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, pageCount > 1);
  if (dialog.exec() != QDialog::Accepted) return nullptr;
  int first = 1;
  int last = pageCount;
  if (printer.printRange() == QPrinter::PageRange) {
    first = std::clamp(printer.fromPage(), 1, pageCount);
    last = std::clamp(printer.toPage(), first, pageCount);
  }
  return std::make_unique<QtPrintJob>(printer, first, last);
}

bool QtUi::PrinterSetup() {
  QPrintDialog dialog(&KeptPrinter(), DialogParent(ActiveWindow()));
  dialog.setWindowTitle("Print Setup");
  // The printer and, behind its Properties, the paper and orientation.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  // The dialog chooses the printer and its paper; it prints nothing.
  for (QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>()) {
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText("OK");
  }
  return dialog.exec() == QDialog::Accepted;
}

PrinterSettings QtUi::Printer() { return PrinterSettingsOf(KeptPrinter()); }

void QtUi::SetPrinter(const PrinterSettings& settings) {
  if (printer_) {
    ApplyPrinterSettings(*printer_, settings);
  } else {
    restoredPrinter_ = settings;
  }
}

}  // namespace vesk
