#include "store/printer_store.h"

#include <string_view>

#include "store/registry_store.h"

namespace vesk {

namespace {

constexpr std::string_view kPrinterSection = "printer";
constexpr std::string_view kName = "name";
constexpr std::string_view kPaperWidth = "paperwidth";
constexpr std::string_view kPaperHeight = "paperheight";
constexpr std::string_view kLandscape = "landscape";

}  // namespace

std::optional<PrinterSettings> LoadPrinter(CRegistryStore& store) {
  if (!store.OpenSectionForReading(kPrinterSection)) return std::nullopt;
  PrinterSettings printer;
  store.GetString(kName, printer.name);
  store.GetInt(kPaperWidth, printer.paperWidth);
  store.GetInt(kPaperHeight, printer.paperHeight);
  int landscape = 0;
  store.GetInt(kLandscape, landscape);
  printer.landscape = landscape != 0;
  return printer;
}

void SavePrinter(CRegistryStore& store, const PrinterSettings& printer) {
  Registry::Transaction tx(store.registry());
  store.OpenSection(kPrinterSection);
  store.SetString(kName, printer.name);
  store.SetInt(kPaperWidth, printer.paperWidth);
  store.SetInt(kPaperHeight, printer.paperHeight);
  store.SetInt(kLandscape, printer.landscape ? 1 : 0);
}

}  // namespace vesk
