#include "view_app.h"

namespace vesk::bench {

std::unique_ptr<CVeskCalView> StartMonthView(AppContext& ctx, Window& frame) {
  auto view = std::make_unique<CVeskCalView>(ctx);
  view->Initialize();
  WindowSpec frameSpec;
  frameSpec.title = "VeskCal";
  frameSpec.rect = {200, 150, 500, 450};
  frameSpec.visible = true;
  frame.Create(frameSpec);
  WindowSpec viewSpec;
  viewSpec.style = {.caption = false, .systemMenu = false};
  viewSpec.parent = &frame;
  viewSpec.rect = frame.ClientRect();
  viewSpec.visible = true;
  view->Create(viewSpec);
  return view;
}

ViewApp::ViewApp(const std::string& storeName)
    : app(CopyOfSelectedStore(storeName)), ui(app.boxes) {
  app.ctx->ui = &ui;
  view = StartMonthView(*app.ctx, frame);
  ui.Paint(*view);
}

ViewApp::~ViewApp() {
  // Windows the benchmarks opened go while the context they use still exists.
  view.reset();
  ui.Pump();
}

}  // namespace vesk::bench
