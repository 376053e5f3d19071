#include "views/print_job.h"

#include <memory>
#include <string>

#include "platform/ui.h"
#include "platform/window.h"

namespace vesk {

std::string_view PrintDocumentName(PrintKind kind) {
  switch (kind) {
    case PrintKind::DayPlanner:
      return "Day Planner";
    case PrintKind::ToDoList:
      return "To Do List";
    case PrintKind::WeekView:
      return "Week View";
    case PrintKind::YearView:
      return "Year View";
  }
  return "VeskCal";
}

std::string PrintFailedMessage(PrintKind kind) {
  return "The " + std::string(PrintDocumentName(kind)) +
         " could not be printed: the printer did not accept the pages.";
}

void RunPrintJob(Ui& ui, MessageBoxes& messages, Window& source, Printable& pages, PrintKind kind) {
  std::unique_ptr<PrintJob> job = ui.BeginPrint(pages.PrintPageCount(), PrintDocumentName(kind));
  if (job == nullptr) return;
  auto enable = [&source](bool enabled) {
    if (NativeWindow* window = source.native()) window->Enable(enabled);
  };
  for (int page = job->FirstPage(); page <= job->LastPage(); ++page) {
    enable(false);
    pages.PrintPage(job->BeginPage(), page);
    job->EndPage();
  }
  const bool delivered = job->End();
  enable(true);
  if (!delivered) messages.Show(PrintFailedMessage(kind), MbButtons::Ok);
}

}  // namespace vesk
