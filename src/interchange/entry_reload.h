#pragma once
// Reading the entry list again from the store, when the store changed under
// it (a registry file was imported) or a failed write left the list ahead.

namespace vesk {

struct AppContext;

// Drops every entry (and its reminder timer), reads the store's entries,
// continues this month's series and sorts the list.
void ReloadEntries(AppContext& ctx);

}  // namespace vesk
