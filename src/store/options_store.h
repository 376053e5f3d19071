#pragma once
// Reading and writing the options record: ten integers under the "reminders"
// key of the application key.
#include "store/options.h"

namespace vesk {

class CRegistryStore;

// Presets age 60, early 2, reminders 0, splash 1, fastprinting 1 and
// statusbar 1 (minatstart, a24hour, europe and ontop keep the caller's
// values); a newly created record is first written with those. Then reads the
// ten values: a missing one reads as 0, except "statusbar" (1); an "age" of 0
// reads as 60.
void LoadOptions(CRegistryStore& store, Options& options);
// Writes the ten values, in one commit.
void SaveOptions(CRegistryStore& store, const Options& options);
// Reads only "statusbar" (0 when missing) without creating the record;
// returns whether it was present.
bool ReadStatusBarOption(CRegistryStore& store, int& statusbar);

}  // namespace vesk
