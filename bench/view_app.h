#pragma once
// The month view in a plain frame on the headless twin, on a copy of the
// full store with every entry loaded as at start-up.
#include <memory>
#include <string>

#include "bench_data.h"
#include "platform/headless/headless_ui.h"
#include "views/month_view.h"

namespace vesk::bench {

struct ViewApp {
  explicit ViewApp(const std::string& storeName);
  ~ViewApp();
  App app;
  HeadlessUi ui;
  Window frame{ui};
  std::unique_ptr<CVeskCalView> view;
};

}  // namespace vesk::bench
