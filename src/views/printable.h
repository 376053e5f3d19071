#pragma once
// What a calendar window offers the print job that the month view runs for it.
#include "platform/canvas.h"

namespace vesk {

// The windows that print through the month view.
enum class PrintKind { DayPlanner, ToDoList, WeekView, YearView };

class Printable {
 public:
  virtual ~Printable() = default;
  // Pages offered in the print dialog; counted before the dialog shows, so no
  // printer is known yet.
  virtual int PrintPageCount() { return 1; }
  // Draws page 1..count on the printer.
  virtual void PrintPage(Canvas& printer, int page) = 0;
};

}  // namespace vesk
