#pragma once
// Opening the one to-do window.

namespace vesk {

struct AppContext;

// Opens the to-do window, or brings the open one (ctx.todo) forward, restored
// and active. Needs the month view, which owns the window.
void OpenToDoList(AppContext& ctx);

}  // namespace vesk
