// The iCalendar import. Whatever the bytes, an import into an empty calendar
// is refused with a reason and changes nothing, or is made: the store then
// reads back every entry it stored, and the program's own export of the
// calendar is imported again without a refusal.
//
// With VESKCAL_FUZZ_ROUND_TRIP=1 in the environment the target also asks that
// the export imports as the same stored calendar. Fuzzed files still find
// differences there (a series' until after merges, an occurrence's own text
// when its event starts off the half hour, control characters in texts), so
// the test command's short runs leave it out.
#include "interchange/ics_import.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "fuzz/support/fuzz_support.h"
#include "interchange/ics_export.h"
#include "platform/registry_dump.h"

namespace vesk::fuzz {
namespace {

const LocalTime kLastMoment = MakeLocalTime(2036, 12, 31, 23, 59);

// An entry with everything the store keeps of it, and whether it keeps it.
using Row = std::tuple<int, int, int, int, int, std::string, int, int, int, int, std::string,
                       std::string, int, LocalTime, LocalTime, std::string, bool>;

// Without identities (UIDs and series starts), what the user sees of entries.
std::vector<Row> Rows(const CEntryList& list, bool storedOnly, bool identities = true) {
  std::vector<Row> rows;
  list.ForEach([&](const CPlannerEntry& e) {
    if (storedOnly && !e.stored()) return;
    // The copies of a series hold reminder 1 whatever their early; an early of
    // -1 means no reminder all the same, and reads back as reminder 0. The
    // fields of the repeat rule count only where the entry repeats, and an until
    // past the calendar's last day (a continued line's, half an hour after
    // its series') means the same as that day.
    const int lead = e.reminder != 0 && e.early != -1 ? e.early : -1;
    const bool repeats = e.repeats != 0;
    rows.emplace_back(e.year(), e.month(), e.day(), e.hour(), e.minute(), e.notes, e.repeats,
                      lead != -1, e.xreminder, lead, repeats ? e.nthweek : "",
                      repeats ? e.sday : "", repeats ? e.nthday : 0, identities ? e.started : 0,
                      repeats ? std::min(e.until, kLastMoment) : 0,
                      identities ? e.uid : std::string(), e.stored());
  });
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::string Describe(const std::vector<Row>& rows) {
  std::string out;
  for (const Row& r : rows) {
    out += std::to_string(std::get<0>(r)) + "-" + std::to_string(std::get<1>(r)) + "-" +
           std::to_string(std::get<2>(r)) + " " + std::to_string(std::get<3>(r)) + ":" +
           std::to_string(std::get<4>(r)) + " [" + std::get<5>(r) + "] r" +
           std::to_string(std::get<6>(r)) + " rem" + std::to_string(std::get<7>(r)) + "/" +
           std::to_string(std::get<8>(r)) + "/" + std::to_string(std::get<9>(r)) + " w[" +
           std::get<10>(r) + "] s[" + std::get<11>(r) + "] d" + std::to_string(std::get<12>(r)) +
           " started " + std::to_string(std::get<13>(r)) + " until " +
           std::to_string(std::get<14>(r)) + " uid[" + std::get<15>(r) + "]" +
           (std::get<16>(r) ? " stored" : "") + "\n";
  }
  return out;
}

void ExpectSame(std::string_view what, const std::vector<Row>& expected,
                const std::vector<Row>& got, std::string_view context) {
  if (expected != got)
    Fail(what, "expected\n" + Describe(expected) + "got\n" + Describe(got) + std::string(context));
}

// The calendar on 1 June 2024, where the seed files' events lie: their series
// are stored up to the horizon and held in memory beyond it.
struct IcsApp : FuzzApp {
  IcsApp() { clock.SetNow(MakeLocalTime(2024, 6, 1, 9, 0)); }
};

ImportResult Import(FuzzApp& app, std::string_view text) {
  return ApplyImport(app.ctx, PlanImport(text, static_cast<LocalTime>(app.clock.Now())));
}

}  // namespace
}  // namespace vesk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vesk;
  using namespace vesk::fuzz;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  IcsApp app;
  const ImportResult result = Import(app, text);
  if (!result.ok) {
    if (result.report.empty()) Fail("a refused import says nothing", "");
    const std::string tree = test::Dump(app.registry);
    if (!tree.empty()) Fail("a refused import changed the store", tree);
    if (app.ctx.entries.size() != 0) Fail("a refused import left entries", "");
    return 0;
  }

  // The next start reads what the import stored.
  IcsApp started;
  AppContext reread(app.registry, started.clock, started.clock, started.boxes);
  reread.store.ReadAllEntries(reread.entries);
  ExpectSame("the store reads back what the import stored", Rows(app.ctx.entries, true),
             Rows(reread.entries, false), result.report);

  // The program's own export imports as the same calendar.
  const ExportResult exported = WriteIcs(TakeSnapshot(app.ctx));
  IcsApp copy;
  const ImportResult again = Import(copy, exported.text);
  if (!again.ok) Fail("the program's own export is refused", again.report + "\n" + exported.text);
  static const bool roundTrip = [] {
    const char* v = std::getenv("VESKCAL_FUZZ_ROUND_TRIP");
    return v != nullptr && std::string_view(v) == "1";
  }();
  if (!roundTrip) return 0;
  // The export holds what the store holds; the occurrences beyond it are made
  // again from the last stored one at every start. Events that shared a UID
  // in the file leave under UIDs of their own, and a line where two series met
  // comes back as series of their own.
  ExpectSame("an export imports as the calendar it was made from",
             Rows(app.ctx.entries, true, false), Rows(copy.ctx.entries, true, false),
             exported.text);
  return 0;
}
