#pragma once
// Reading the entry list again from the store, when the store changed under
// it (a registry file was imported) or a failed write left the list ahead.

namespace vesk {

struct AppContext;

// Drops every entry (and its reminder timer) and reads the store again as
// start-up does: this month, the reminders due soon, this month's series.
void ReloadEntries(AppContext& ctx);

}  // namespace vesk
