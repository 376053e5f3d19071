#include "store/options_store.h"

#include <string_view>

#include "store/registry_store.h"

namespace vesk {

namespace {

constexpr std::string_view kOptionsSection = "reminders";
constexpr std::string_view kLastRunValue = "lastrun";
constexpr int kDefaultAge = 60;

struct OptionField {
  std::string_view name;
  int Options::*field;
};

// In the order the record is written and read.
constexpr OptionField kOptionFields[] = {
    {"age", &Options::age},
    {"early", &Options::early},
    {"reminders", &Options::reminders},
    {"splash", &Options::splash},
    {"minatstart", &Options::minatstart},
    {"fastprinting", &Options::fastprinting},
    {"statusbar", &Options::statusbar},
    {"a24hour", &Options::a24hour},
    {"europe", &Options::europe},
    {"ontop", &Options::ontop},
    {"notifications", &Options::notifications},
};

}  // namespace

void LoadOptions(CRegistryStore& store, Options& options) {
  options.age = kDefaultAge;
  options.early = 2;
  options.reminders = 0;
  options.splash = 1;
  options.fastprinting = 1;
  options.statusbar = 1;
  options.notifications = 1;
  if (store.OpenSection(kOptionsSection) == OpenResult::Created) {
    SaveOptions(store, options);
  }
  for (const OptionField& f : kOptionFields) {
    const bool found = store.GetInt(f.name, options.*f.field);
    // Stores written before these options existed switch them on.
    if (!found && f.field == &Options::statusbar) options.statusbar = 1;
    if (!found && f.field == &Options::notifications) options.notifications = 1;
  }
  if (options.age == 0) options.age = kDefaultAge;
}

void SaveOptions(CRegistryStore& store, const Options& options) {
  Registry::Transaction tx(store.registry());
  store.OpenSection(kOptionsSection);
  for (const OptionField& f : kOptionFields) store.SetInt(f.name, options.*f.field);
}

bool ReadStatusBarOption(CRegistryStore& store, int& statusbar) {
  statusbar = 0;
  return store.OpenSectionForReading(kOptionsSection) && store.GetInt("statusbar", statusbar);
}

std::optional<std::int64_t> LoadLastRun(CRegistryStore& store) {
  std::int32_t stored = 0;
  if (!store.OpenSectionForReading(kOptionsSection) || !store.GetInt(kLastRunValue, stored)) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(stored);
}

void SaveLastRun(CRegistryStore& store, std::int64_t seconds) {
  if (store.OpenSection(kOptionsSection) == OpenResult::Failed) return;
  store.SetInt(kLastRunValue, static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds)));
}

}  // namespace vesk
