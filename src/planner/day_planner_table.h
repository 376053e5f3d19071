#pragma once
// The open planner table: at most three day planners, each on its own date.
// The windows are owned by the Ui until they are destroyed; ctx.planners
// observes them.
namespace vesk {

struct AppContext;
class AppointBook2;
class Font;

// The open planner of the date, or none.
AppointBook2* FindDayPlanner(const AppContext& ctx, int year, int month, int day);

// The planner of the date: the open one activated (and restored), or a new
// one in the first free slot, closing the planner of the first slot to make
// room when all three are taken. Its font is the stored planner font, else a
// copy of fallbackFont. The caller plays the click sound. Returns the window,
// or none when it could not be created.
AppointBook2* OpenDayPlanner(AppContext& ctx, int year, int month, int day,
                             const Font* fallbackFont);

// Closes every open planner, slot by slot; each commits its line.
void CloseAllDayPlanners(AppContext& ctx);

}  // namespace vesk
