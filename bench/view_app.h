#pragma once
// The month view in a plain frame on the headless twin, on a copy of the
// selected store, read as at start-up.
#include <memory>
#include <string>

#include "bench_data.h"
#include "platform/headless/headless_ui.h"
#include "views/month_view.h"

namespace vesk::bench {

// Starts a month view (it reads the store as at start-up) and shows it
// filling frame, as the main frame does; ctx.ui must be the frame's Ui.
std::unique_ptr<CVeskCalView> StartMonthView(AppContext& ctx, Window& frame);

struct ViewApp {
  explicit ViewApp(const std::string& storeName);
  ~ViewApp();
  App app;
  HeadlessUi ui;
  Window frame{ui};
  std::unique_ptr<CVeskCalView> view;
};

}  // namespace vesk::bench
