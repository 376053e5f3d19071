#pragma once
// The one print job through which the day planner, the to-do list, the week
// view and the year view are printed.
#include <string>
#include <string_view>

#include "views/printable.h"

namespace vesk {

class Ui;
class Window;
class MessageBoxes;

// The print job's name for the kind of window printed.
std::string_view PrintDocumentName(PrintKind kind);

// The message shown when the printed pages could not be delivered.
std::string PrintFailedMessage(PrintKind kind);

// Shows the print dialog for the source's pages; unless cancelled, prints each
// chosen page with the source window disabled, then enables it again. A job
// that cannot be finished is reported in a message box.
void RunPrintJob(Ui& ui, MessageBoxes& messages, Window& source, Printable& pages, PrintKind kind);

}  // namespace vesk
