#pragma once
// Carries out a data command from the terminal: through the running
// calendar's socket when one runs for the data directory, else on the store,
// under the store lock so that a calendar started meanwhile waits for it.
#include <expected>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "platform/store_lock.h"

namespace vesk {

class Clock;

// Prints the outcome and returns the exit status.
int RunDataCommand(const DataCommand& command, Clock& clock);

// For a calendar starting on dir: the store's lock, held for the whole run;
// none when a calendar runs there already (it was asked to come forward), or
// when stop() said so while it waited. Waits while a command works on the
// store or another calendar starts.
std::expected<std::optional<StoreLock>, std::string> ClaimStore(
    const std::filesystem::path& dir, const std::function<bool()>& stop = {});

}  // namespace vesk
