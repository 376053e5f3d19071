#pragma once
// Purging stored day planner months older than the "age" option at program end.
#include <array>
#include <cstdint>

#include "store/registry_store.h"

namespace vesk {

inline constexpr int kPurgedMonths = 6;

// The month of now - (age + 1) x 30 days and the months of the five times
// 30 days before it, in that order (a month may repeat).
std::array<YearMonth, kPurgedMonths> MonthsToPurge(std::int64_t now, int age);

// Deletes those months from the store.
void PurgeOldMonths(CRegistryStore& store, std::int64_t now, int age);

}  // namespace vesk
