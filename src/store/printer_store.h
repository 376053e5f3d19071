#pragma once
// The printer the program prints on, kept beside the options under the
// "printer" key, so that a printer and paper chosen once hold after a restart.
#include <optional>

#include "platform/ui.h"

namespace vesk {

class CRegistryStore;

// Nothing when no printer was ever stored; a value that is missing reads as
// the default (no name, the printer's own paper, upright).
std::optional<PrinterSettings> LoadPrinter(CRegistryStore& store);
// Writes the name and page settings, in one commit.
void SavePrinter(CRegistryStore& store, const PrinterSettings& printer);

}  // namespace vesk
