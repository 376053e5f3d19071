#include "planner/day_planner_table.h"

#include <memory>

#include "planner/day_planner.h"
#include "platform/ui.h"
#include "store/app_context.h"

namespace vesk {

namespace {

// Closes the planner of the first occupied slot, then moves the later ones
// down into empty slots before them, in one pass over slots 1 and 2.
void MakeRoom(AppContext& ctx) {
  auto& slots = ctx.planners;
  for (AppointBook2*& slot : slots) {
    if (slot == nullptr) continue;
    AppointBook2* closing = slot;
    slot = nullptr;
    closing->Destroy();
    break;
  }
  for (std::size_t i = 1; i < slots.size(); ++i) {
    if (slots[i - 1] == nullptr) {
      slots[i - 1] = slots[i];
      slots[i] = nullptr;
    }
  }
}

AppointBook2** FreeSlot(AppContext& ctx) {
  for (AppointBook2*& slot : ctx.planners) {
    if (slot == nullptr) return &slot;
  }
  return nullptr;
}

}  // namespace

AppointBook2* FindDayPlanner(const AppContext& ctx, int year, int month, int day) {
  for (AppointBook2* p : ctx.planners) {
    if (p != nullptr && p->year == year && p->month == month && p->day == day) return p;
  }
  return nullptr;
}

AppointBook2* OpenDayPlanner(AppContext& ctx, int year, int month, int day,
                             const Font* fallbackFont) {
  if (AppointBook2* open = FindDayPlanner(ctx, year, month, day)) {
    if (NativeWindow* native = open->native()) {
      native->Activate();
      if (native->IsMinimized()) native->Restore();
    }
    return open;
  }
  AppointBook2** slot = FreeSlot(ctx);
  if (slot == nullptr) {
    MakeRoom(ctx);
    slot = FreeSlot(ctx);
    if (slot == nullptr) return nullptr;
  }
  auto& planner = static_cast<AppointBook2&>(ctx.ui->Adopt(std::make_unique<AppointBook2>(ctx)));
  *slot = &planner;
  if (!planner.CreatePlanner(year, month, day, fallbackFont)) {
    for (AppointBook2*& s : ctx.planners) {
      if (s == &planner) s = nullptr;
    }
    planner.Destroy();  // releases the object
    return nullptr;
  }
  return &planner;
}

void CloseAllDayPlanners(AppContext& ctx) {
  for (AppointBook2*& slot : ctx.planners) {
    AppointBook2* closing = slot;
    slot = nullptr;
    if (closing != nullptr) closing->Destroy();
  }
}

}  // namespace vesk
