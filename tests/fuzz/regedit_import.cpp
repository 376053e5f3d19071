// The REGEDIT4 import. Whatever the bytes, the import is refused without a
// change or taken whole; what it took comes back the same through the
// program's own export, and the calendar starts on it: options, sounds,
// fonts, window positions, to-do lines, its months, the series extension,
// and every month read once.
#include <string>
#include <vector>

#include "fuzz/support/fuzz_support.h"
#include "platform/registry_dump.h"
#include "store/options_store.h"
#include "store/registry_export.h"
#include "store/registry_store.h"
#include "store/repeat_rules.h"
#include "store/sounds.h"

namespace vesk::fuzz {
namespace {

// What the start-up of the program reads from a store.
void StartOn(AppContext& ctx) {
  LoadOptions(ctx.store, ctx.options);
  std::string path;
  for (std::string_view sound : {kStartSound, kReminderSound, kClickSound}) {
    ctx.store.OpenSection(kSoundsSection);
    ReadSound(ctx.store, sound, path);
  }
  ctx.store.LoadFont("font");
  ctx.store.LoadFont("font2");
  for (std::string_view section : {"position", "dayposition", "todoposition"})
    ctx.store.LoadWindowPos(section);
  for (int line = 0; line < 20; ++line) ctx.store.LoadToDoLine(line);
  // The month on screen, the reminders due soon and the series reaching on,
  // as the month view reads them; then every month, as a backup does.
  ctx.store.TidyMonthKeys();
  ctx.entries.RereadMonths();
  ctx.entries.EnsureMonth(2000, 3);
  ctx.entries.EnsureDueSoon();
  ExtendSeries(ctx.entries, 2000, 3);
  ctx.entries.VisitAllMonths([](const CPlannerEntry&) {});
}

// The dump with the application key's own path spelled as the program spells
// it: the export names that path from the program's constant, while an
// import keeps the file's spelling, and names are the same in any case.
std::string WithAppKeySpelled(const std::string& dump) {
  const std::vector<std::string> app = SplitKey(kAppKey);
  std::string out;
  std::size_t start = 0;
  while (start < dump.size()) {
    std::size_t end = dump.find('\n', start);
    if (end == std::string::npos) end = dump.size();
    std::string line = dump.substr(start, end - start);
    std::size_t at = 0;
    for (const std::string& part : app) {
      if (line.size() - at < part.size() || !NamesEqual(line.substr(at, part.size()), part)) break;
      line.replace(at, part.size(), part);
      at += part.size();
      if (at >= line.size() || line[at] != '\\') break;
      ++at;
    }
    out += line + "\n";
    start = end + 1;
  }
  return out;
}

}  // namespace
}  // namespace vesk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vesk;
  using namespace vesk::fuzz;
  FuzzApp app;
  std::expected<ImportCounts, ImportError> imported;
  {
    MemoryFile input(data, size);
    imported = ImportRegistry(app.registry, input.path());
  }
  const std::string tree = test::Dump(app.registry);
  if (!imported) {
    if (imported.error().message.empty()) Fail("a refused import says nothing", "");
    if (!tree.empty()) Fail("a refused import changed the store", tree);
    return 0;
  }

  const std::filesystem::path file = ScratchDir() / "export.reg";
  const auto exported = ExportRegistry(app.registry, file);
  if (!exported) Fail("the store could not be exported", exported.error());
  MemoryRegistry copy;
  const auto reimported = ImportRegistry(copy, file);
  if (!reimported) {
    Fail("the program's own export is refused",
         "line " + std::to_string(reimported.error().line) + ": " + reimported.error().message);
  }
  const std::string copied = test::Dump(copy);
  if (WithAppKeySpelled(copied) != WithAppKeySpelled(tree))
    Fail("an export imports as what was exported", tree + "---\n" + copied);

  StartOn(app.ctx);
  return 0;
}
