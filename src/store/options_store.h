#pragma once
// Reading and writing the options record: ten integers under the "reminders"
// key of the application key, with "notifications" and "lastrun" beside them.
#include <cstdint>
#include <optional>

#include "store/options.h"

namespace vesk {

class CRegistryStore;

// Presets age 60, early 2, reminders 0, splash 1, fastprinting 1 and
// statusbar 1 (minatstart, a24hour, europe and ontop keep the caller's
// values); a newly created record is first written with those. Then reads the
// ten values: a missing one reads as 0, except "statusbar" (1); an "age" of 0
// reads as 60. "notifications" is read too; missing, it reads as 1.
void LoadOptions(CRegistryStore& store, Options& options);
// Writes the ten values and "notifications", in one commit.
void SaveOptions(CRegistryStore& store, const Options& options);
// Reads only "statusbar" (0 when missing) without creating the record;
// returns whether it was present.
bool ReadStatusBarOption(CRegistryStore& store, int& statusbar);

// "lastrun": the wall-clock time (seconds since 1970, UTC, kept as an unsigned
// 32-bit value) up to which every reminder has been either shown or watched
// for by a running program. A start-up shows the reminders that fell due
// after it; none is stored before the program first ran on this store.
std::optional<std::int64_t> LoadLastRun(CRegistryStore& store);
void SaveLastRun(CRegistryStore& store, std::int64_t seconds);

}  // namespace vesk
