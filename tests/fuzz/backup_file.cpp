// The backup file reader. Whatever the bytes, a restore into an empty calendar
// ends normally; what it restored is what the store reads back at the next
// start, and what the program's own backup of it restores again.
#include "store/backup_file.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "fuzz/support/fuzz_support.h"

namespace vesk::fuzz {
namespace {

// An entry as far as a backup file and the store keep it.
using Row =
    std::tuple<int, int, int, int, int, std::string, int, int, int, int, std::string, std::string>;

// The rows of the entries, sorted; only those a backup file holds when asked.
std::vector<Row> Rows(const CEntryList& list, bool backedUpOnly) {
  std::vector<Row> rows;
  list.ForEach([&](const CPlannerEntry& e) {
    if (backedUpOnly && (e.year() < 1980 || e.year() > 2035)) return;
    rows.emplace_back(e.year(), e.month(), e.day(), e.hour(), e.minute(), e.notes, e.repeats,
                      e.reminder, e.early, e.nthday, e.nthweek, e.sday);
  });
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::string Describe(const std::vector<Row>& rows) {
  std::string out;
  for (const Row& r : rows) {
    out += std::to_string(std::get<0>(r)) + "-" + std::to_string(std::get<1>(r)) + "-" +
           std::to_string(std::get<2>(r)) + " " + std::to_string(std::get<3>(r)) + ":" +
           std::to_string(std::get<4>(r)) + " [" + std::get<5>(r) + "]\n";
  }
  return out;
}

void ExpectSame(std::string_view what, const std::vector<Row>& expected,
                const std::vector<Row>& got) {
  if (expected != got) Fail(what, "expected\n" + Describe(expected) + "got\n" + Describe(got));
}

}  // namespace
}  // namespace vesk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vesk;
  using namespace vesk::fuzz;
  FuzzApp restored;
  {
    MemoryFile input(data, size);
    const RestoreResult result = RestoreEntries(restored.ctx, input.path(), false);
    if (!result.opened) Fail("the input could not be read", result.error);
  }

  // The next start reads the same entries from the store.
  FuzzApp started;
  AppContext reread(restored.registry, started.clock, started.clock, started.boxes);
  reread.store.ReadAllEntries(reread.entries);
  ExpectSame("the store reads back what was restored", Rows(restored.ctx.entries, false),
             Rows(reread.entries, false));

  // The program's own backup of them restores whole and the same.
  const std::filesystem::path file = ScratchDir() / "backup.fuzz";
  const BackupResult backup = BackupEntries(restored.ctx, file, false);
  if (!backup.ok) Fail("the backup file could not be written", backup.error);
  if (backup.shortened > 0) return 0;  // texts were cut to fit: not the same by design
  FuzzApp again;
  const RestoreResult second = RestoreEntries(again.ctx, file, false);
  if (second.stoppedAtRecord != 0) Fail("the program's own backup file is refused", second.error);
  ExpectSame("a backup restores what it holds", Rows(restored.ctx.entries, true),
             Rows(again.ctx.entries, false));
  return 0;
}
